#include "platform/ProcessRunner.h"

ProcessRunner::~ProcessRunner() = default;
