#include "app/ViewerWindows.h"

#include <QEventLoop>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "app/StateProbe.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "services/AboutWindow.h"
#include "services/ControlBar.h"
#include "services/MapPage.h"
#include "services/RecordingList.h"
#include "services/SettingsWindow.h"
#include "services/TrackLoader.h"
#include "services/VideoWindow.h"
#include "settings/frmSetupInfo.h"
#include "shell/Application.h"
#include "track/frmSendData.h"

namespace {

// Runs the window system's events, holding the user's input back, until the window is on
// the screen or the limit has passed.
bool waitUntilExposed(QWidget& window, int limitMilliseconds) {
    const QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        return false;
    }
    if (!handle->isExposed()) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (handle->isExposed()) {
                loop.quit();
            }
        });
        poll.start(10);
        QTimer::singleShot(limitMilliseconds, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return handle->isExposed();
}

}  // namespace

ViewerWindows::ViewerWindows(Application& app, Windows::EndProgram endProgram)
    : m_app(app), m_windows(app, std::move(endProgram)) {}

ViewerWindows::~ViewerWindows() = default;

ViewerWindows& ViewerWindows::install(Application& app, Windows::EndProgram endProgram) {
    // The constructor is private, so make_unique cannot reach it.
    std::unique_ptr<ViewerWindows> root(new ViewerWindows(app, std::move(endProgram)));
    ViewerWindows& installed = *root;
    installed.registerWindows();
    installed.m_probe = StateProbe::install(app);
    app.setStartupWindows(std::move(root));
    return installed;
}

void ViewerWindows::registerWindows() {
    Windows& windows = m_windows;
    m_app.registerWindow<frmTip>(
        [&windows](Application&) { return std::make_unique<frmTip>(windows); });
    m_app.registerWindow<frmMain>(
        [&windows](Application&) { return std::make_unique<frmMain>(windows); });
    m_app.registerWindow<frmChild>([&windows](Application& app) {
        frmMain& frame = app.window<frmMain>();
        auto video = std::make_unique<frmChild>(windows, &frame);
        frame.setChildWindow(*video);
        return video;
    });
    m_app.registerWindow<frmCurve>([&windows](Application& app) {
        return std::make_unique<frmCurve>(windows, &app.window<frmChild>().mediaControlBand());
    });
    m_app.registerWindow<frmMediaCtrl>([&windows](Application& app) {
        return std::make_unique<frmMediaCtrl>(windows, &app.window<frmMain>());
    });
    m_app.registerWindow<frmMP4List>([&windows](Application& app) {
        return std::make_unique<frmMP4List>(windows, &app.window<frmMediaCtrl>().myListBand());
    });
    m_app.registerWindow<frmSendData>([&windows](Application& app) {
        return std::make_unique<frmSendData>(windows, &app.window<frmMain>());
    });
    m_app.registerWindow<frmSetupInfo>([&windows](Application& app) {
        return std::make_unique<frmSetupInfo>(windows, &app.window<frmMain>());
    });
    m_app.registerWindow<frmAbout>([&windows](Application& app) {
        return std::make_unique<frmAbout>(windows, &app.window<frmMain>());
    });

    WindowRegistry& registry = m_app.registry();
    registry.addInterface<RecordingList, frmMP4List>();
    registry.addInterface<ControlBar, frmCurve>();
    registry.addInterface<SettingsWindow, frmSetupInfo>();
    registry.addInterface<AboutWindow, frmAbout>();
    registry.addInterface<VideoWindow, frmChild>();
    registry.addInterface<TrackLoader, frmSendData>();

    // Every window made inside another goes before it.
    registry.setHost<frmChild, frmMain>();
    registry.setHost<frmMediaCtrl, frmMain>();
    registry.setHost<frmSendData, frmMain>();
    registry.setHost<frmSetupInfo, frmMain>();
    registry.setHost<frmAbout, frmMain>();
    registry.setHost<frmCurve, frmChild>();
    registry.setHost<frmMP4List, frmMediaCtrl>();
}

void ViewerWindows::openRecordings(const QStringList& paths) {
    // The page loads for a moment after start-up; the user is not asked about a map that is
    // about to come.
    auto waiting = std::make_shared<bool>(true);
    const auto open = [this, paths, waiting] {
        if (!*waiting) {
            return;
        }
        *waiting = false;
        if (RecordingList* list = m_windows.load<RecordingList>()) {
            list->addRecordings(paths, true);
        }
    };
    if (m_app.mapPage().isReady()) {
        open();
        return;
    }
    m_app.mapPage().addReadyHandler([this, open](int flag) {
        if (flag == MapPage::kReady) {
            QTimer::singleShot(0, &m_context, open);
        }
    });
    QTimer::singleShot(kOpenWaitMilliseconds, &m_context, open);
}

void ViewerWindows::throwIfEnded() const {
    if (m_windows.programEnded()) {
        throw ProgramEnded();
    }
}

void ViewerWindows::showSplash() {
    frmTip* splash = m_windows.load<frmTip>();
    throwIfEnded();
    if (splash == nullptr) {
        return;
    }
    splash->show();
    splash->raise();
    splash->activateWindow();
    // Making the other windows keeps the window thread busy for a second or more: the splash
    // is put on the screen and painted first, so it never shows as an empty black window.
    if (waitUntilExposed(*splash, kSplashExposeMilliseconds)) {
        splash->repaint();
    }
}

void ViewerWindows::dockControlBar() {
    frmChild* video = m_windows.load<frmChild>();
    throwIfEnded();
    frmCurve* controlBar = m_windows.load<frmCurve>();
    throwIfEnded();
    if (video != nullptr && controlBar != nullptr) {
        video->dockControlBar(*controlBar);
    }
}

void ViewerWindows::dockMapPanel() {
    frmMediaCtrl* panel = m_windows.load<frmMediaCtrl>();
    throwIfEnded();
    if (panel != nullptr) {
        m_app.window<frmMain>().dockMapPanel(*panel);
    }
}

void ViewerWindows::showMainWindow() {
    frmMain* frame = m_windows.load<frmMain>();
    throwIfEnded();
    if (frame == nullptr) {
        return;
    }
    installTransportKeys(*frame);
    frame->show();
    // Without a window manager the window shown last lies on top; the splash keeps the front
    // for its three seconds.
    if (m_app.isLoaded<frmTip>() && m_app.window<frmTip>().isVisible()) {
        m_app.window<frmTip>().raise();
    }
    if (m_probe) {
        m_probe->report();
    }
}

void ViewerWindows::installTransportKeys(QWidget& frame) {
    // The keys of a video player, anywhere in the frame: Space plays or pauses, Left and
    // Right move five seconds, Home and End go to the start and the end.
    const struct {
        Qt::Key key;
        void (*act)(ControlBar&);
    } keys[] = {
        {Qt::Key_Space, [](ControlBar& bar) { bar.playOrPause(); }},
        {Qt::Key_Left, [](ControlBar& bar) { bar.moveBy(-kKeyStepSeconds); }},
        {Qt::Key_Right, [](ControlBar& bar) { bar.moveBy(kKeyStepSeconds); }},
        {Qt::Key_Home, [](ControlBar& bar) { bar.moveToStart(); }},
        {Qt::Key_End, [](ControlBar& bar) { bar.moveToEnd(); }},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key.key), &frame);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, &m_context, [this, act = key.act] {
            if (ControlBar* bar = m_windows.load<ControlBar>()) {
                act(*bar);
            }
        });
    }
}
