#include "SkinHost.h"

SkinHost::~SkinHost() = default;
