#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "shell/StartupWindows.h"
#include "shell/Windows.h"

class Application;
class QWidget;
class StateProbe;

// The one place that knows every window of the viewer: it registers how each is made (in its
// final parent: the web view and the video widgets must never change parent once made),
// which narrow interface it serves and which window it lives in, and it runs the window steps
// of start-up that put them together. The frame holds the video window in its client area and
// the map panel in its right-hand band; the map panel's bottom band holds the recording list;
// the video window's bottom band holds the control bar.
//
// Owned by the application (as its start-up window steps), so it lives as long as the windows.
class ViewerWindows : public StartupWindows {
  public:
    // Registers every window with app and makes the result app's start-up window steps.
    static ViewerWindows& install(Application& app, Windows::EndProgram endProgram);
    ~ViewerWindows() override;

    Windows& windows() { return m_windows; }

    void showSplash() override;
    void dockControlBar() override;
    void dockMapPanel() override;
    void showMainWindow() override;

    // Recordings the program was started with ("Open with"): added to the list once the map
    // page has loaded, or after a while without it.
    void openRecordings(const QStringList& paths);

    // How long start-up waits at most for the splash to be on the screen.
    static constexpr int kSplashExposeMilliseconds = 2000;
    // How long recordings to open wait at most for the map page.
    static constexpr int kOpenWaitMilliseconds = 15000;
    // How far Left and Right move the playing position.
    static constexpr double kKeyStepSeconds = 5.0;

  private:
    ViewerWindows(Application& app, Windows::EndProgram endProgram);
    void registerWindows();
    void throwIfEnded() const;
    void installTransportKeys(QWidget& frame);

    Application& m_app;
    Windows m_windows;
    std::unique_ptr<StateProbe> m_probe;
    // Ends pending deferred steps when the windows go first.
    QObject m_context;
};
