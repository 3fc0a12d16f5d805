#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/QtMediaPlayer.h"

// The real player on small recordings, in a window on the X display. The limits of the waits
// only keep a broken player from hanging the run; nothing depends on how fast it is, and the
// speeds compared are loose because the machine may be busy.
namespace {

constexpr int kLimit = 15000;

bool runTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    return tool.waitForFinished(120000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

// Each test runs in a process of its own: a recording is made once into the build tree, under
// a name of its own first, so a broken run never leaves half a file.
QString madeOnce(const QString& name, const std::function<bool(const QString& path)>& make) {
    const QString folder = QStringLiteral(HARVENTIS_PLAYER_TEST_DATA);
    const QString path = folder + u'/' + name;
    if (QFile::exists(path)) {
        return path;
    }
    const QString partial = path + QStringLiteral(".making.mp4");
    if (!QDir().mkpath(folder) || !make(partial) || !QFile::rename(partial, path)) {
        QFile::remove(partial);
        return QString();
    }
    return path;
}

// A recording as the cameras write it: H.264 with AAC sound.
QString makeRecording(const QString& name, int seconds, const QStringList& extra = {}) {
    return madeOnce(name, [&](const QString& path) {
        const QStringList arguments{QStringLiteral("--layout"), QStringLiteral("novatek-a119"),
                                    QStringLiteral("--synth"),  QString::number(seconds),
                                    QStringLiteral("--out"),    path};
        return runTool(QStringLiteral(HARVENTIS_MAKE_RECORDING), arguments + extra);
    });
}

// The same pattern in H.265, as the newer cameras write.
QString makeH265Recording(const QString& name, int seconds) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        return QString();
    }
    const QString length = QString::number(seconds);
    return madeOnce(name, [&](const QString& path) {
        return runTool(ffmpeg, {QStringLiteral("-v"),
                                QStringLiteral("error"),
                                QStringLiteral("-y"),
                                QStringLiteral("-f"),
                                QStringLiteral("lavfi"),
                                QStringLiteral("-i"),
                                QStringLiteral("testsrc2=size=320x180:rate=25:duration=") + length,
                                QStringLiteral("-f"),
                                QStringLiteral("lavfi"),
                                QStringLiteral("-i"),
                                QStringLiteral("sine=frequency=440:duration=") + length,
                                QStringLiteral("-c:v"),
                                QStringLiteral("libx265"),
                                QStringLiteral("-x265-params"),
                                QStringLiteral("log-level=error"),
                                QStringLiteral("-tag:v"),
                                QStringLiteral("hvc1"),
                                QStringLiteral("-c:a"),
                                QStringLiteral("aac"),
                                path});
    });
}

class QtMediaPlayerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_folder = std::make_unique<QTemporaryDir>();
        s_h264 = makeRecording(QStringLiteral("h264-6s.mp4"), 6);
        s_h265 = makeH265Recording(QStringLiteral("h265-4s.mp4"), 4);
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override {
        ASSERT_FALSE(s_h264.isEmpty()) << "make-recording failed";
        m_window.resize(480, 300);
        // Made in its final parent before the window is first shown, as the video window does.
        m_player = std::make_unique<QtMediaPlayer>(&m_window);
        m_player->widget()->setGeometry(0, 0, 480, 270);
        m_player->setPlayStateHandler([this](int state) {
            m_states << state;
            if (m_onState) {
                m_onState(state);
            }
        });
        m_player->setErrorHandler([this](const QString& description) {
            m_errors << description;
            m_statesAtError << m_player->playState();
        });
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void TearDown() override { m_player.reset(); }

    static QString folderFile(const QString& name) { return s_folder->filePath(name); }

    bool waitForState(int state) {
        return QTest::qWaitFor([&] { return m_player->playState() == state; }, kLimit);
    }

    bool playFrom(const QString& path, double seconds = 0.0) {
        m_player->setUrl(path);
        if (seconds > 0.0) {
            m_player->setCurrentPosition(seconds);
        }
        m_player->play();
        return waitForState(MediaPlayer::kPlaying);
    }

    // Seconds of the recording played per second of real time, measured over a short while.
    double playingSpeed() {
        const double from = m_player->currentPosition();
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(700);
        return (m_player->currentPosition() - from) /
               (static_cast<double>(clock.elapsed()) / 1000.0);
    }

    // Lets whatever the back end still has to report arrive, so a count is final.
    static void settle() { QTest::qWait(600); }

    QVideoSink* sink() { return static_cast<QVideoWidget*>(m_player->widget())->videoSink(); }

    static inline std::unique_ptr<QTemporaryDir> s_folder;
    static inline QString s_h264;
    static inline QString s_h265;

    QWidget m_window;
    std::unique_ptr<QtMediaPlayer> m_player;
    QList<int> m_states;
    QStringList m_errors;
    QList<int> m_statesAtError;
    std::function<void(int)> m_onState;
};

TEST_F(QtMediaPlayerTest, RecordingStartedAsTheWindowShowsPlays) {
    struct Case {
        const char* what;
        QString path;
    };
    const Case cases[] = {{"H.264", s_h264}, {"H.265", s_h265}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.path.isEmpty()) << "the recording could not be made";
        m_states.clear();
        ASSERT_TRUE(playFrom(c.path));
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 1.0; }, kLimit));
        // The picture is decoded, not just the clock running.
        EXPECT_TRUE(sink()->videoFrame().isValid());
        EXPECT_GT(m_player->duration(), 3.5);
        EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(u'\n').toStdString();
        m_player->stop();
        ASSERT_TRUE(waitForState(MediaPlayer::kStopped));
    }
}

// The video window hides the picture until the recording plays, so the renderer comes only
// after play(); the player must not sit still then.
TEST_F(QtMediaPlayerTest, RecordingPlaysWhenItsPictureIsShownOnlyOncePlaying) {
    m_player->widget()->hide();
    m_onState = [this](int state) {
        if (state == MediaPlayer::kPlaying) {
            m_player->widget()->show();
        }
    };
    ASSERT_TRUE(playFrom(s_h264));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 2.0; }, kLimit));
}

TEST_F(QtMediaPlayerTest, EndIsToldOnceThenThePlayerWaitsStoppedAtTheStart) {
    struct Case {
        const char* what;
        bool fastForward;
    };
    const Case cases[] = {{"played to the end", false}, {"fast forward into the end", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_player->close();
        ASSERT_TRUE(waitForState(MediaPlayer::kUndefined));
        QTimer fastForward;
        QObject::connect(&fastForward, &QTimer::timeout,
                         [&] { m_player->setCurrentPosition(m_player->currentPosition() + 1.0); });
        // As the control bar does: fast forward ends when the recording does.
        m_onState = [&](int state) {
            if (state != MediaPlayer::kPlaying) {
                fastForward.stop();
            }
        };
        ASSERT_TRUE(playFrom(s_h264, c.fastForward ? 2.0 : 4.5));
        m_states.clear();
        if (c.fastForward) {
            fastForward.start(100);
        }
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_states.contains(MediaPlayer::kStopped); }, kLimit));
        settle();
        EXPECT_EQ(m_states, (QList<int>{MediaPlayer::kMediaEnded, MediaPlayer::kStopped}));
        EXPECT_EQ(m_player->playState(), MediaPlayer::kStopped);
        EXPECT_DOUBLE_EQ(m_player->currentPosition(), 0.0);
        m_onState = nullptr;

        // Played again, it starts from the beginning.
        m_player->play();
        ASSERT_TRUE(waitForState(MediaPlayer::kPlaying));
        EXPECT_LT(m_player->currentPosition(), 1.0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 0.3; }, kLimit));
        EXPECT_LT(m_player->currentPosition(), 3.0);
    }
}

TEST_F(QtMediaPlayerTest, HandlerThatPlaysAgainOnTheEndLoopsTheRecording) {
    // The background clip loops this way.
    m_onState = [this](int state) {
        if (state == MediaPlayer::kMediaEnded) {
            m_player->setCurrentPosition(0.0);
            m_player->play();
        }
    };
    ASSERT_TRUE(playFrom(s_h264, 5.0));
    m_states.clear();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_states.contains(MediaPlayer::kMediaEnded); }, kLimit));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return m_player->playState() == MediaPlayer::kPlaying &&
                   m_player->currentPosition() > 0.3 && m_player->currentPosition() < 3.0;
        },
        kLimit));
    EXPECT_FALSE(m_states.contains(MediaPlayer::kStopped));
}

TEST_F(QtMediaPlayerTest, StopOrCloseIsNoEnd) {
    struct Case {
        const char* what;
        std::function<void(MediaPlayer&)> act;
        int state;
    };
    const Case cases[] = {
        {"stop", [](MediaPlayer& player) { player.stop(); }, MediaPlayer::kStopped},
        {"close", [](MediaPlayer& player) { player.close(); }, MediaPlayer::kUndefined},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(playFrom(s_h264, 5.3));
        m_states.clear();
        c.act(*m_player);
        ASSERT_TRUE(waitForState(c.state));
        // Past the moment the recording would have ended.
        QTest::qWait(1000);
        EXPECT_EQ(m_states, QList<int>{c.state});
        EXPECT_DOUBLE_EQ(m_player->currentPosition(), 0.0);
    }
}

TEST_F(QtMediaPlayerTest, RecordingThatCannotBePlayedIsReportedOnceAndStopsThePlayer) {
    QFile text(folderFile(QStringLiteral("notes.mp4")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Not a recording at all, just a few words in a file named like one.\n");
    text.close();
    const QString truncated =
        makeRecording(QStringLiteral("truncated-3s.mp4"), 3, {QStringLiteral("--truncate")});
    ASSERT_FALSE(truncated.isEmpty());

    struct Case {
        const char* what;
        QString path;
        int state;
    };
    const Case cases[] = {
        {"a file that is not there", folderFile(QStringLiteral("missing.mp4")),
         MediaPlayer::kUndefined},
        {"text named like a recording", text.fileName(), MediaPlayer::kStopped},
        {"a recording cut off before its index", truncated, MediaPlayer::kStopped},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_errors.clear();
        m_statesAtError.clear();
        m_player->setUrl(c.path);
        m_player->play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_errors.isEmpty(); }, kLimit));
        settle();
        ASSERT_EQ(m_errors.size(), 1) << m_errors.join(u'\n').toStdString();
        EXPECT_FALSE(m_errors.front().trimmed().isEmpty());
        // Stopped before the handler heard of it.
        EXPECT_EQ(m_statesAtError, QList<int>{c.state});
        EXPECT_EQ(m_player->playState(), c.state);
        EXPECT_DOUBLE_EQ(m_player->currentPosition(), 0.0);
    }

    // The player is none the worse for it.
    m_errors.clear();
    ASSERT_TRUE(playFrom(s_h264));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 0.5; }, kLimit));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(QtMediaPlayerTest, NothingOpenStaysNothingOpen) {
    m_player->play();
    m_player->pause();
    m_player->setCurrentPosition(3.0);
    m_player->stop();
    settle();
    EXPECT_EQ(m_player->playState(), MediaPlayer::kUndefined);
    EXPECT_TRUE(m_states.isEmpty());
    EXPECT_TRUE(m_errors.isEmpty());
    EXPECT_DOUBLE_EQ(m_player->currentPosition(), 0.0);
}

TEST_F(QtMediaPlayerTest, SeekWhilePausedShowsTheNewPicture) {
    ASSERT_TRUE(playFrom(s_h264));
    m_player->pause();
    ASSERT_TRUE(waitForState(MediaPlayer::kPaused));
    for (const double target : {3.0, 1.2, 4.6}) {
        SCOPED_TRACE(target);
        m_player->setCurrentPosition(target);
        EXPECT_DOUBLE_EQ(m_player->currentPosition(), target);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const QVideoFrame frame = sink()->videoFrame();
                return frame.isValid() && std::abs(frame.startTime() / 1e6 - target) < 0.1;
            },
            kLimit));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !m_player->seeking(); }, kLimit));
        EXPECT_NEAR(m_player->currentPosition(), target, 0.1);
        EXPECT_EQ(m_player->playState(), MediaPlayer::kPaused);
    }
}

TEST_F(QtMediaPlayerTest, SeekWhilePlayingLandsAndPlaysOn) {
    ASSERT_TRUE(playFrom(s_h264));
    for (const double target : {3.0, 1.0}) {
        SCOPED_TRACE(target);
        m_player->setCurrentPosition(target);
        EXPECT_DOUBLE_EQ(m_player->currentPosition(), target);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !m_player->seeking(); }, kLimit));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return m_player->currentPosition() > target + 0.2; }, kLimit));
        EXPECT_LT(m_player->currentPosition(), target + 1.5);
    }
}

TEST_F(QtMediaPlayerTest, FastForwardMovesOnSteadily) {
    ASSERT_TRUE(playFrom(s_h264));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 0.2; }, kLimit));
    const double start = m_player->currentPosition();
    QList<double> seen;
    int steps = 0;
    QTimer fastForward;
    QObject::connect(&fastForward, &QTimer::timeout, [&] {
        m_player->setCurrentPosition(m_player->currentPosition() + 1.0);
        seen << m_player->currentPosition();
        if (++steps == 3) {
            fastForward.stop();
        }
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { seen << m_player->currentPosition(); });
    watch.start(20);
    fastForward.start(100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return steps == 3 && !m_player->seeking(); }, kLimit));
    watch.stop();
    seen << m_player->currentPosition();

    // Three seconds ahead, and never a step back on the way.
    EXPECT_GT(seen.back(), start + 2.9);
    EXPECT_LT(seen.back(), start + 4.5);
    for (qsizetype i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i], seen[i - 1] - 0.05) << "at " << i;
    }
    EXPECT_EQ(m_player->playState(), MediaPlayer::kPlaying);
}

TEST_F(QtMediaPlayerTest, RateSetsHowFastTheRecordingPlays) {
    ASSERT_TRUE(playFrom(s_h264));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 0.2; }, kLimit));
    const double normal = playingSpeed();
    ASSERT_GT(normal, 0.3);
    for (const double rate : {0.2, 0.5, 1.5, 2.0}) {
        SCOPED_TRACE(rate);
        m_player->setCurrentPosition(1.0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_player->seeking(); }, kLimit));
        m_player->setRate(rate);
        EXPECT_DOUBLE_EQ(m_player->rate(), rate);
        QTest::qWait(200);
        const double ratio = playingSpeed() / normal;
        EXPECT_GT(ratio, rate * 0.6);
        EXPECT_LT(ratio, rate * 1.6);
    }

    // Twice the rate outlasts a pause and a newly opened recording.
    m_player->setRate(2.0);
    m_player->setCurrentPosition(0.5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_player->seeking(); }, kLimit));
    m_player->pause();
    ASSERT_TRUE(waitForState(MediaPlayer::kPaused));
    m_player->play();
    ASSERT_TRUE(waitForState(MediaPlayer::kPlaying));
    QTest::qWait(200);
    EXPECT_GT(playingSpeed() / normal, 1.3);

    m_player->setUrl(s_h264);
    m_player->play();
    ASSERT_TRUE(waitForState(MediaPlayer::kPlaying));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player->currentPosition() > 0.2; }, kLimit));
    EXPECT_GT(playingSpeed() / normal, 1.3);
    EXPECT_DOUBLE_EQ(m_player->rate(), 2.0);
}

}  // namespace
