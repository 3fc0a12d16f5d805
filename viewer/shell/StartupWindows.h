#pragma once

#include <stdexcept>

// The window steps of start-up, provided by the windows' library. A step that fails throws;
// start-up then reports it and runs no further step.
class StartupWindows {
  public:
    // Thrown by a step when a window has already told the user why the program cannot go on
    // (a missing skin); start-up then ends without a message of its own.
    class ProgramEnded : public std::runtime_error {
      public:
        ProgramEnded() : std::runtime_error("The program ended") {}
    };

    virtual ~StartupWindows();

    // frmTip, shown without waiting and brought to the front.
    virtual void showSplash() = 0;
    // frmCurve hosted in the band "MediaControl" (209 pixels) of the video window's bar.
    virtual void dockControlBar() = 0;
    // frmMediaCtrl hosted in the band "ControlBand" of the main window's bar.
    virtual void dockMapPanel() = 0;
    // frmMain loaded and shown.
    virtual void showMainWindow() = 0;
};
