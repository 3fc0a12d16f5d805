#include "platform/SkinHost.h"

SkinHost::~SkinHost() = default;
