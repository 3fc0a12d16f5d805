#include "StartupWindows.h"

StartupWindows::~StartupWindows() = default;
