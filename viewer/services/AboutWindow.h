#pragma once

// The about window as the frame opens it: modal, owned by the frame.
class AboutWindow {
  public:
    virtual ~AboutWindow();

    // Returns once the user has closed the window.
    virtual void showModal() = 0;
};
