#include "platform/WaitService.h"

WaitService::~WaitService() = default;
