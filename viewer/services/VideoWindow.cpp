#include "services/VideoWindow.h"

VideoWindow::~VideoWindow() = default;
