#include "services/ControlBar.h"

ControlBar::~ControlBar() = default;
