#pragma once

// The settings window as the frame opens it: modal, owned by the frame.
class SettingsWindow {
  public:
    virtual ~SettingsWindow();

    // Returns once the user has closed the window.
    virtual void showModal() = 0;
};
