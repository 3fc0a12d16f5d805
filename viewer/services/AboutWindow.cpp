#include "services/AboutWindow.h"

AboutWindow::~AboutWindow() = default;
