// The control bar at work while a recording plays: one synchronisation tick (the video window
// reads the player; the progress slider, the chart's cursor, the speed digits and the car
// follow), the same tick with the control bar painted, and a full chart redraw for tracks of
// 600, 3600 and 32767 points. The real skin engine and chart on the offscreen platform; the
// player and the map page are fakes, so the viewer's own work is what is measured.
#include <benchmark/benchmark.h>

#include "QtBenchmarkMain.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "app/ViewerWindows.h"
#include "frame/frmMain.h"
#include "platform/Chart.h"
#include "platform/ConsoleMessageBoxService.h"
#include "platform/QtPlatform.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "services/MapPage.h"
#include "services/clsDot.h"
#include "shell/Application.h"
#include "shell/StringTable.h"
#include "skin/QtSkinHost.h"

namespace {

std::shared_ptr<clsDot> drive(int seconds) {
    auto track = std::make_shared<clsDot>();
    for (int i = 0; i < seconds; ++i) {
        const QString clock = QStringLiteral("%1:%2:%3")
                                  .arg(10 + i / 3600, 2, 10, QLatin1Char('0'))
                                  .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(i % 60, 2, 10, QLatin1Char('0'));
        track->SetDot(QStringLiteral("2020/01/01"), clock, static_cast<std::int16_t>(i % 130), i,
                      QString::number(121.5 + i * 1e-5, 'f', 6),
                      QString::number(25.0 + i * 1e-5, 'f', 6), 1.0,
                      static_cast<std::int16_t>(i % 360), 0.01 * (i % 50), -0.02 * (i % 30), 1.0);
    }
    return track;
}

// The video window and the control bar as start-up makes them, with a recording playing.
class Playing {
  public:
    Playing() {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
            const QString path = m_home.filePath(QString::fromLatin1(name));
            QDir().mkpath(path);
            qputenv(name, path.toUtf8());
        }
        Platform services = m_qt.services();
        // The background clip is not laid out in the build's program folder: its message
        // goes to the error stream instead of a box nobody closes.
        services.messageBoxes = &m_messages;
        services.makeSkinHost = []() -> std::unique_ptr<SkinHost> {
            return std::make_unique<QtSkinHost>();
        };
        services.makeMediaPlayer = [this](QWidget* parent) -> std::unique_ptr<MediaPlayer> {
            auto player = std::make_unique<FakeMediaPlayer>(parent);
            if (m_player == nullptr) {
                m_player = player.get();
            }
            return player;
        };
        m_app = std::make_unique<Application>(
            services, StringTable::builtIn(),
            QStringLiteral(HARVENTIS_APP_DIR) + QStringLiteral("/harventis-dvr-tools"));
        // What start-up reads from the settings: English, km/h.
        m_app->setLanguageCode(1001);
        m_app->setUnitCode(1001);
        ViewerWindows& root = ViewerWindows::install(*m_app, [](int) {});
        root.dockControlBar();
        m_video = &m_app->window<frmChild>();
        m_bar = &m_app->window<frmCurve>();
        if (m_bar->TCLine() == nullptr || m_bar->buttonskin() == nullptr) {
            throw std::runtime_error("the control bar has no skin or no chart");
        }
        // Painted as on the screen: the frame shown, so the control bar and its chart are.
        m_app->window<frmMain>().show();
        QApplication::processEvents();
        if (!m_bar->isVisible() || m_bar->TCLine()->widget()->width() < 700) {
            throw std::runtime_error("the control bar is not shown at its size");
        }
        m_browser.finishLoad(true);
        m_app->mapPage().attach(&m_browser);
        m_app->mapPage().setReadyFlag(MapPage::kReady);
    }

    void play(int seconds) {
        m_app->setCurrentTrack(drive(seconds));
        m_player->setUrl(QStringLiteral("/recordings/20200101/100000.MP4"));
        m_player->setDuration(seconds);
        m_player->play();
        m_bar->DrawCurves();
        QApplication::processEvents();
    }

    frmChild& video() { return *m_video; }
    frmCurve& bar() { return *m_bar; }
    FakeMediaPlayer& player() { return *m_player; }
    FakeMapBrowser& browser() { return m_browser; }

  private:
    QTemporaryDir m_home;
    QtPlatform m_qt;
    ConsoleMessageBoxService m_messages{std::cerr};
    FakeMapBrowser m_browser;
    FakeMediaPlayer* m_player = nullptr;
    std::unique_ptr<Application> m_app;
    frmChild* m_video = nullptr;
    frmCurve* m_bar = nullptr;
};

// Made once the application is, and gone before it goes.
std::unique_ptr<Playing> g_playing;

Playing& playing() {
    if (!g_playing) {
        g_playing = std::make_unique<Playing>();
    }
    return *g_playing;
}

void tickAt(Playing& p, int second) {
    p.player().simulatePosition(second + 0.3);
    p.video().tPlayTime_Timer();
    p.browser().clearScripts();
}

// Qt Charts lays out and the scene marks what changed in posted events; those run, then the
// control bar and the chart are painted at once, as the next screen update would.
void paint(Playing& p) {
    QApplication::processEvents();
    p.bar().repaint();
    p.bar().TCLine()->widget()->repaint();
}

void BM_SyncTick(benchmark::State& state) {
    Playing& p = playing();
    const int seconds = static_cast<int>(state.range(0));
    p.play(seconds);
    int second = 1;
    for (auto _ : state) {
        tickAt(p, second);
        second = second % (seconds - 2) + 1;
    }
}
BENCHMARK(BM_SyncTick)->Arg(3600)->Arg(32767)->Unit(benchmark::kMicrosecond);

// The tick and the repaint it causes: the slider, the digits and the chart's cursor.
void BM_SyncTickPainted(benchmark::State& state) {
    Playing& p = playing();
    const int seconds = static_cast<int>(state.range(0));
    p.play(seconds);
    p.bar().repaint();
    int second = 1;
    for (auto _ : state) {
        tickAt(p, second);
        paint(p);
        second = second % (seconds - 2) + 1;
    }
}
BENCHMARK(BM_SyncTickPainted)->Arg(32767)->Unit(benchmark::kMillisecond);

// A full redraw as a mode button or a new recording makes it, painted.
void BM_DrawCurves(benchmark::State& state) {
    Playing& p = playing();
    p.play(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        p.bar().DrawCurves();
        paint(p);
    }
}
BENCHMARK(BM_DrawCurves)->Arg(600)->Arg(3600)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv, nullptr, [] { g_playing.reset(); });
}
