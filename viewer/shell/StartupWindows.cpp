#include "shell/StartupWindows.h"

StartupWindows::~StartupWindows() = default;
