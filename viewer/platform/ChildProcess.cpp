#include "ChildProcess.h"

ChildProcess::~ChildProcess() = default;
