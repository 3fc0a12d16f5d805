// How long the video window's player takes to show the picture of a seek, playing and paused,
// and to land fast forward (a seek a second further every tenth of a second). A seek should
// land within a tick of the window's play timer (0.8 s). Runs on the X display: scripts/bench
// gives it a private virtual screen.
#include <benchmark/benchmark.h>

#include "QtBenchmarkMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/QtMediaPlayer.h"

namespace {

constexpr int kLimit = 10000;

// A short recording, made once; later runs reuse it.
QString recording() {
    const QString folder = QStringLiteral(HARVENTIS_BENCH_DATA);
    const QString file = folder + QStringLiteral("/player-6s.mp4");
    if (!QFile::exists(file)) {
        QDir().mkpath(folder);
        QProcess tool;
        tool.start(QStringLiteral(HARVENTIS_MAKE_RECORDING),
                   {QStringLiteral("--layout"), QStringLiteral("novatek-a119"),
                    QStringLiteral("--synth"), QStringLiteral("6"), QStringLiteral("--out"), file});
        if (!tool.waitForFinished(120000) || tool.exitCode() != 0) {
            return QString();
        }
    }
    return file;
}

// The player in a shown window, playing the recording (paused when asked).
class ShownPlayer {
  public:
    bool start(const QString& path, bool paused) {
        m_window.resize(480, 300);
        m_player = std::make_unique<QtMediaPlayer>(&m_window);
        m_player->widget()->setGeometry(0, 0, 480, 270);
        m_window.show();
        if (path.isEmpty() || !QTest::qWaitForWindowExposed(&m_window)) {
            return false;
        }
        m_player->setUrl(path);
        m_player->play();
        if (!QTest::qWaitFor([&] { return m_player->currentPosition() > 0.2; }, kLimit)) {
            return false;
        }
        if (paused) {
            m_player->pause();
            return QTest::qWaitFor([&] { return m_player->playState() == MediaPlayer::kPaused; },
                                   kLimit);
        }
        return true;
    }

    QtMediaPlayer& player() { return *m_player; }

  private:
    QWidget m_window;
    std::unique_ptr<QtMediaPlayer> m_player;
};

void BM_SeekShowsItsPicture(benchmark::State& state) {
    ShownPlayer shown;
    if (!shown.start(recording(), state.range(0) == 0)) {
        state.SkipWithError("the recording does not play");
        return;
    }
    QtMediaPlayer& player = shown.player();
    double target = 1.0;
    for (auto _ : state) {
        target = target < 2.0 ? 3.5 : 1.0;
        QElapsedTimer clock;
        clock.start();
        player.setCurrentPosition(target);
        if (!QTest::qWaitFor([&] { return !player.seeking(); }, kLimit)) {
            state.SkipWithError("the seek never landed");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}

// From the last of three fast-forward steps to its picture.
void BM_FastForwardLands(benchmark::State& state) {
    ShownPlayer shown;
    if (!shown.start(recording(), false)) {
        state.SkipWithError("the recording does not play");
        return;
    }
    QtMediaPlayer& player = shown.player();
    for (auto _ : state) {
        player.setCurrentPosition(0.5);
        if (!QTest::qWaitFor([&] { return !player.seeking(); }, kLimit)) {
            state.SkipWithError("the seek back never landed");
            return;
        }
        for (int step = 0; step < 3; ++step) {
            player.setCurrentPosition(player.currentPosition() + 1.0);
            if (step < 2) {
                QTest::qWait(100);
            }
        }
        QElapsedTimer clock;
        clock.start();
        if (!QTest::qWaitFor([&] { return !player.seeking(); }, kLimit)) {
            state.SkipWithError("fast forward never landed");
            return;
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}

}  // namespace

BENCHMARK(BM_SeekShowsItsPicture)
    ->ArgName("playing")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastForwardLands)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The real window system: the picture of a seek is what is waited for.
    return runQtBenchmarks(argc, argv, "xcb");
}
