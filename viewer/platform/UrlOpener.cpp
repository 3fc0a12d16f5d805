#include "platform/UrlOpener.h"

UrlOpener::~UrlOpener() = default;
