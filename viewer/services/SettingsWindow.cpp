#include "services/SettingsWindow.h"

SettingsWindow::~SettingsWindow() = default;
