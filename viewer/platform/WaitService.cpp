#include "WaitService.h"

WaitService::~WaitService() = default;
