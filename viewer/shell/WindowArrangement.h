#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>
#include <set>
#include <typeindex>
#include <typeinfo>

#include "shell/Application.h"
#include "shell/Form.h"
#include "shell/StartupWindows.h"

// How the viewer's windows are made and put together. The frame holds the video window in its
// client area and the map panel in its right-hand band; the map panel's bottom band holds the
// recording list; the video window's bottom band holds the control bar, whose area "chart"
// holds the chart. Bands are child widgets placed by the hosting window (our stand-in for the
// docking bars), with the band extents the windows were designed for.
//
// Owned by the application (as its start-up window steps), so it lives as long as the windows.
class WindowArrangement : public QObject, public StartupWindows {
  public:
    // Ends the running program with an exit status.
    using EndProgram = std::function<void(int status)>;

    // Every size in pixels; the frame's size includes the title strip its skin draws.
    static constexpr QSize kFrameSize{1024, 708};
    static constexpr int kControlBandExtent = 248;
    static constexpr int kMyListExtent = 370;
    static constexpr int kMediaControlExtent = 209;
    // Height of the frame's title strip and button row, above the client area and the band.
    static constexpr int kFrameTop = 60;
    static constexpr QSize kSplashSize{1024, 708};
    static constexpr QSize kAboutSize{600, 400};
    static constexpr QSize kSettingsSize{800, 480};

    // The environment variable naming a file into which the program writes its state (language,
    // list rows, map ready flag) once its frame is up and again whenever the map's ready flag
    // changes. For checks of a freshly started program, such as after a language restart.
    static constexpr const char* kStateFileVariable = "HARVENTIS_STATE_FILE";

    // Registers every window with app and makes the arrangement app's start-up window steps.
    static WindowArrangement& install(Application& app, EndProgram endProgram);

    Application& app() const { return m_app; }

    // The window, made on first use and loaded once; nullptr when its Load refused (its skin is
    // missing): it is then unloaded and not tried again until unload<W>().
    template <class W>
    W* load();
    template <class W>
    void unload();

    // A window has told the user why the program cannot go on. During start-up the remaining
    // steps are skipped; afterwards the event loop ends with the status.
    void endProgram(int status);
    bool programEnded() const { return m_programEnded; }

    void showSplash() override;
    void dockControlBar() override;
    void dockMapPanel() override;
    void showMainWindow() override;

    // Writes the state file when the environment asks for one.
    void reportState();

    // The band of extent pixels along one edge of container, and the client area beside it.
    static QRect dockedBand(const QRect& container, Qt::Edge edge, int extent);
    static QRect besideBand(const QRect& container, Qt::Edge edge, int extent);
    // size centred in area; with clampTopLeft a window larger than the area starts at its
    // top-left corner instead of beyond it. Odd leftovers are halved to the even pixel.
    static QRect centredIn(const QRect& area, QSize size, bool clampTopLeft);
    static int halfToEven(int value);

  private:
    WindowArrangement(Application& app, EndProgram endProgram);
    void registerWindows();
    void throwIfEnded() const;

    Application& m_app;
    EndProgram m_endProgram;
    bool m_programEnded = false;
    std::set<std::type_index> m_refused;
};

template <class W>
W* WindowArrangement::load() {
    const std::type_index type(typeid(W));
    if (m_refused.count(type) != 0) {
        return nullptr;
    }
    W& window = m_app.window<W>();
    if (window.isFormLoaded()) {
        return &window;
    }
    // Marked first: a Load that reaches a window reaching back finds this one as it is.
    static_cast<Form&>(window).m_formLoaded = true;
    if (!window.Form_Load()) {
        m_refused.insert(type);
        m_app.unload<W>();
        return nullptr;
    }
    return &window;
}

template <class W>
void WindowArrangement::unload() {
    m_refused.erase(std::type_index(typeid(W)));
    m_app.unload<W>();
}
