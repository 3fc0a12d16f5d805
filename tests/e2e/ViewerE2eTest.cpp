#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoWidget>
#include <QWindow>

#include "ProbeSkinHost.h"
#include "ViewerHarness.h"
#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "app/StateProbe.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/MapBrowser.h"
#include "platform/MediaPlayer.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "settings/frmSetupInfo.h"

namespace {

// How many distinct colours a part of the screen holds: a drawn video has many, an empty
// area one or two.
int colourCount(const QImage& screen, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 3) {
        for (int x = area.left(); x <= area.right(); x += 3) {
            colours.insert(screen.pixel(x, y));
        }
    }
    return colours.size();
}

QRect onScreen(const QWidget& widget) {
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

class ViewerE2eTest : public ::testing::Test {
  protected:
    void start(ViewerHarness::Options options = {}) {
        m_viewer = std::make_unique<ViewerHarness>(options);
        ASSERT_TRUE(m_viewer->start());
        ASSERT_TRUE(m_viewer->app().isLoaded<frmMain>());
    }
    ViewerHarness& viewer() { return *m_viewer; }
    template <class W>
    W& window() {
        return m_viewer->app().window<W>();
    }

    std::unique_ptr<ViewerHarness> m_viewer;
};

TEST_F(ViewerE2eTest, SplashThenTheWholeFrameWithEveryDockedWindow) {
    start();
    EXPECT_TRUE(viewer().messageBoxes().shown().isEmpty());

    frmTip& splash = window<frmTip>();
    ASSERT_TRUE(splash.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.geometry(), frmTip::placement(screen));
    ASSERT_TRUE(ViewerHarness::waitUntil(
        [&] { return splash.windowHandle() != nullptr && splash.windowHandle()->isExposed(); }));
    // The splash lies over the frame: its middle shows the splash's picture, not the frame's.
    ASSERT_TRUE(ViewerHarness::waitUntil([&] {
        const QImage shot = ViewerHarness::grabScreen();
        return colourCount(shot, QRect(splash.geometry().center(), QSize(300, 200))) > 1 &&
               shot.pixel(splash.geometry().center()) != qRgb(0, 0, 0);
    }));
    ViewerHarness::saveScreen(QStringLiteral("splash"));

    frmMain& frame = window<frmMain>();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.geometry(), QRect(splash.pos(), QSize(1024, 708)));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Harventis DVR Tools"));

    // The map page has loaded into its area.
    frmMediaCtrl& panel = window<frmMediaCtrl>();
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return panel.mapReady() == 1; }));
    EXPECT_EQ(viewer().evaluate(QStringLiteral("typeof getContentHis")),
              QStringLiteral("function"));
    EXPECT_EQ(viewer().evaluate(QStringLiteral("harvdvrPage.routeCount()")), QStringLiteral("0"));
    EXPECT_EQ(viewer().evaluate(QStringLiteral("document.body.clientWidth")),
              QString::number(panel.HTMLView()->widget()->width()));
    EXPECT_EQ(panel.HTMLView()->widget()->parentWidget(), &panel);
    EXPECT_TRUE(panel.HTMLView()->widget()->isVisible());

    // The splash goes after its three seconds; the frame stays.
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return !viewer().app().isLoaded<frmTip>(); }));
    EXPECT_TRUE(frame.isVisible());

    // Everything in its place on the screen.
    const QRect frameRect = onScreen(frame);
    frmChild& video = window<frmChild>();
    EXPECT_EQ(onScreen(video).topLeft() - frameRect.topLeft(), QPoint(5, 60));
    EXPECT_EQ(onScreen(panel).topLeft() - frameRect.topLeft(), QPoint(776, 60));
    EXPECT_EQ(panel.width(), 248);
    EXPECT_EQ(window<frmMP4List>().height(), 370);
    EXPECT_EQ(window<frmCurve>().height(), 209);
    EXPECT_EQ(onScreen(window<frmCurve>()).bottom(), onScreen(video).bottom());
    EXPECT_EQ(onScreen(window<frmMP4List>()).bottom(), onScreen(panel).bottom());

    // The background clip plays in the picture while no recording is open.
    MediaPlayer* clip = video.mtbk();
    ASSERT_NE(clip, nullptr);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return clip->currentPosition() > 0.5; }));
    EXPECT_EQ(clip->playState(), MediaPlayer::kPlaying);
    EXPECT_TRUE(clip->mute());
    EXPECT_TRUE(clip->widget()->isVisible());
    EXPECT_FALSE(video.mtWmp().widget()->isVisible());
    ViewerHarness::waitUntil([] { return false; }, 1500);  // the clip's picture settles
    ViewerHarness::saveScreen(QStringLiteral("frame"));
    EXPECT_TRUE(viewer().ended().isEmpty());
}

TEST_F(ViewerE2eTest, ExitQuestionNoKeepsEverythingRunningYesEnds) {
    start();
    MediaPlayer* clip = window<frmChild>().mtbk();
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return clip->currentPosition() > 0.3; }));

    viewer().messageBoxes().queueAnswer(MessageBoxService::Answer::No);
    EXPECT_FALSE(window<frmMain>().close());
    ASSERT_EQ(viewer().messageBoxes().shown().size(), 1);
    const auto& box = viewer().messageBoxes().shown().first();
    EXPECT_EQ(box.icon, MessageBoxService::Icon::Question);
    EXPECT_EQ(box.buttons, MessageBoxService::Buttons::YesNo);
    EXPECT_EQ(box.title, QStringLiteral("Information prompted"));
    EXPECT_EQ(box.text, QStringLiteral("Really want to exit the system?"));
    EXPECT_TRUE(window<frmMain>().isVisible());
    // Still playing: the clip moves on after the answer.
    const double after = clip->currentPosition();
    EXPECT_TRUE(ViewerHarness::waitUntil(
        [&] { return clip->currentPosition() > after + 0.3 || clip->currentPosition() < after; }));
    EXPECT_TRUE(viewer().ended().isEmpty());

    viewer().messageBoxes().queueAnswer(MessageBoxService::Answer::Yes);
    EXPECT_TRUE(window<frmMain>().close());
    EXPECT_FALSE(window<frmMain>().isVisible());
    EXPECT_EQ(viewer().ended(), QList<int>{0});
}

TEST_F(ViewerE2eTest, AboutOpensFromInfoCentredAndClosesByItsButton) {
    start();
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return !viewer().app().isLoaded<frmTip>(); }));
    bool checked = false;
    ViewerHarness::whenModal([&](QWidget*) {
        ASSERT_TRUE(viewer().app().isLoaded<frmAbout>());
        frmAbout& about = window<frmAbout>();
        EXPECT_TRUE(about.isVisible());
        EXPECT_TRUE(about.isModal());
        EXPECT_EQ(about.geometry(),
                  frmAbout::placement(QGuiApplication::primaryScreen()->availableGeometry()));
        ViewerHarness::saveScreen(QStringLiteral("about"));
        checked = true;
        EXPECT_TRUE(viewer().clickOnScreen(&about, QStringLiteral("close")));
    });
    ASSERT_TRUE(viewer().clickOnScreen(&window<frmMain>(), QStringLiteral("INFO")));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(viewer().app().isLoaded<frmAbout>());
    EXPECT_TRUE(window<frmMain>().isVisible());
    EXPECT_TRUE(viewer().messageBoxes().shown().isEmpty());
}

TEST_F(ViewerE2eTest, ChineseFrameUsesItsOwnSkins) {
    start({1002, 1001});
    EXPECT_TRUE(viewer().messageBoxes().shown().isEmpty());
    EXPECT_EQ(viewer().skinOf(&window<frmMain>())->path(),
              ViewerHarness::programFolder() + QStringLiteral("/skin/main/2.mp4"));
    EXPECT_EQ(viewer().skinOf(&window<frmCurve>())->path(),
              ViewerHarness::programFolder() + QStringLiteral("/skin/control/MediaControl2.mp4"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return !viewer().app().isLoaded<frmTip>(); }));
    ViewerHarness::waitUntil([] { return false; }, 1500);  // the clip's picture settles
    ViewerHarness::saveScreen(QStringLiteral("frame-zh"));
}

// The settings dialog in each language, over the frame, centred in the work area with every
// element of its skin; the screenshots are the ones the README shows.
TEST_F(ViewerE2eTest, SettingsDialogInBothLanguages) {
    for (int language : {1001, 1002}) {
        SCOPED_TRACE(language);
        start({language, 1001});
        ASSERT_TRUE(ViewerHarness::waitUntil([&] { return !viewer().app().isLoaded<frmTip>(); }));
        bool checked = false;
        ViewerHarness::whenModal([&](QWidget*) {
            ASSERT_TRUE(viewer().app().isLoaded<frmSetupInfo>());
            frmSetupInfo& settings = window<frmSetupInfo>();
            EXPECT_TRUE(settings.isVisible());
            EXPECT_TRUE(settings.isModal());
            EXPECT_EQ(
                settings.geometry(),
                frmSetupInfo::placement(QGuiApplication::primaryScreen()->availableGeometry()));
            for (const char* name : {"lang1001", "lang1002", "unit1001", "unit1002", "unit1003"}) {
                EXPECT_NE(viewer().skinOf(&settings)->element(QString::fromLatin1(name)), nullptr)
                    << name;
            }
            ViewerHarness::saveScreen(language == 1001 ? QStringLiteral("settings")
                                                       : QStringLiteral("settings-zh"));
            checked = true;
            EXPECT_TRUE(viewer().clickOnScreen(&settings, QStringLiteral("cmdclose")));
        });
        ASSERT_TRUE(viewer().clickOnScreen(&window<frmMain>(), QStringLiteral("setup")));
        EXPECT_TRUE(checked);
        EXPECT_FALSE(viewer().app().isLoaded<frmSetupInfo>());
        EXPECT_TRUE(viewer().messageBoxes().shown().isEmpty());
        m_viewer.reset();
    }
}

class RecordingE2eTest : public ViewerE2eTest {
  protected:
    void SetUp() override {
        m_recording = ViewerHarness::makeRecording(
            m_folder.filePath(QStringLiteral("20200101_115958_N.MP4")), 20);
        ASSERT_FALSE(m_recording.isEmpty()) << "make-recording could not make the recording";
        start();
        ASSERT_TRUE(ViewerHarness::waitUntil([&] { return !viewer().app().isLoaded<frmTip>(); }));
    }

    // Playing seconds per wall-clock second over a stretch of playback.
    double playingSpeed(MediaPlayer& player) {
        const double from = player.currentPosition();
        QElapsedTimer clock;
        clock.start();
        ViewerHarness::waitUntil([] { return false; }, 1500);
        return (player.currentPosition() - from) / (static_cast<double>(clock.elapsed()) / 1000.0);
    }

    QTemporaryDir m_folder;
    QString m_recording;
};

TEST_F(RecordingE2eTest, RecordingPlaysInThePictureAndTheClipGivesWay) {
    frmChild& video = window<frmChild>();
    MediaPlayer& player = video.mtWmp();
    MediaPlayer* clip = video.mtbk();
    player.setUrl(m_recording);
    player.play();
    ASSERT_TRUE(
        ViewerHarness::waitUntil([&] { return player.playState() == MediaPlayer::kPlaying; }));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player.currentPosition() > 1.0; }));
    EXPECT_NEAR(player.duration(), 20.0, 0.5);
    EXPECT_TRUE(player.widget()->isVisible());
    EXPECT_EQ(player.widget()->geometry(), video.picBack().rect());
    EXPECT_FALSE(clip->widget()->isVisible());
    EXPECT_TRUE(
        ViewerHarness::waitUntil([&] { return clip->playState() == MediaPlayer::kPaused; }));

    // The test pattern is on the screen in the picture's place.
    QImage screen;
    EXPECT_TRUE(ViewerHarness::waitUntil([&] {
        screen = ViewerHarness::grabScreen();
        return colourCount(screen, onScreen(video.picBack())) > 50;
    }));
    ViewerHarness::saveScreen(QStringLiteral("recording"));

    // Twice the rate plays about twice as fast.
    const double normal = playingSpeed(player);
    player.setRate(2.0);
    ViewerHarness::waitUntil([] { return false; }, 300);
    const double fast = playingSpeed(player);
    ASSERT_GT(normal, 0.0);
    EXPECT_GT(fast / normal, 1.4);
    EXPECT_LT(fast / normal, 2.8);

    // Stopped, the picture and the clip come back.
    player.stop();
    ASSERT_TRUE(
        ViewerHarness::waitUntil([&] { return clip->playState() == MediaPlayer::kPlaying; }));
    EXPECT_TRUE(clip->widget()->isVisible());
    EXPECT_FALSE(player.widget()->isVisible());
}

TEST_F(RecordingE2eTest, SeekBeforeTheMediaHasLoadedLandsOnceItHas) {
    MediaPlayer& player = window<frmChild>().mtWmp();
    player.setUrl(m_recording);
    player.setCurrentPosition(12.0);
    // Reported at once, although nothing has loaded yet.
    EXPECT_DOUBLE_EQ(player.currentPosition(), 12.0);
    player.play();
    ASSERT_TRUE(
        ViewerHarness::waitUntil([&] { return player.playState() == MediaPlayer::kPlaying; }));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player.currentPosition() > 12.5; }));
    EXPECT_LT(player.currentPosition(), 19.0);

    // Played to its end, the player stops and waits at the start.
    player.setCurrentPosition(19.0);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] {
        return player.playState() == MediaPlayer::kStopped && player.currentPosition() == 0.0;
    }));
}

// A freshly started program, as after a language restart, tells its state through the file.
TEST(NewProcessE2eTest, WritesItsStateFileOnceUp) {
    TempHome home;
    QDir().mkpath(QFileInfo(home.settingsFile()).absolutePath());
    QFile settings(home.settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[config]\nmainv=1002\nArea=2021\nUnit=1002\n");
    settings.close();
    const QString stateFile = home.root() + QStringLiteral("/state.json");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(StateProbe::kStateFileVariable), stateFile);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(ViewerHarness::programFile(), {});
    ASSERT_TRUE(program.waitForStarted());

    QJsonObject state;
    const bool ready = ViewerHarness::waitUntil([&] {
        QFile file(stateFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        state = QJsonDocument::fromJson(file.readAll()).object();
        return state.value(QStringLiteral("ready")).toInt() == 1;
    });
    const bool stillRunning = program.state() == QProcess::Running;
    const qint64 pid = program.processId();
    program.kill();
    program.waitForFinished();

    ASSERT_TRUE(ready) << program.readAllStandardError().toStdString();
    EXPECT_TRUE(stillRunning);
    EXPECT_EQ(state.value(QStringLiteral("pid")).toInteger(), pid);
    EXPECT_EQ(state.value(QStringLiteral("languageCode")).toInt(), 1002);
    EXPECT_EQ(state.value(QStringLiteral("unitCode")).toInt(), 1002);
    EXPECT_TRUE(state.value(QStringLiteral("frame")).toBool());
    EXPECT_TRUE(state.value(QStringLiteral("rows")).toArray().isEmpty());
}

}  // namespace
