#include "platform/ChildProcess.h"

ChildProcess::~ChildProcess() = default;
