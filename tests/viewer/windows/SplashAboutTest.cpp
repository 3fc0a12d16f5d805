#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include "WindowTest.h"
#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "frame/frmMain.h"
#include "platform/fake/FakeSkinHost.h"
#include "playback/frmChild.h"

namespace {

const QString kWarningTitle = QStringLiteral("The system warning information ");
const QString kSystemFileMissing =
    QStringLiteral("System file is missing, please re-install the system");

// Runs the event loop until done() holds; the limit only keeps a broken window from hanging
// the suite.
template <class Done>
bool waitUntil(Done done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(20);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (!done()) {
        loop.exec();
    }
    return done();
}

TEST(SplashPlacement, CentredOnTheScreenNeverBeyondItsTopLeft) {
    struct Case {
        QRect screen;
        QPoint topLeft;
    };
    const Case cases[] = {
        {QRect(0, 0, 1280, 1024), QPoint(128, 158)},
        {QRect(0, 0, 1920, 1080), QPoint(448, 186)},
        // Smaller than the splash: at the corner, larger than the screen.
        {QRect(0, 0, 800, 600), QPoint(0, 0)},
        {QRect(0, 0, 1024, 708), QPoint(0, 0)},
        // A half pixel goes to the even side.
        {QRect(0, 0, 1027, 711), QPoint(2, 2)},
        {QRect(0, 0, 1025, 709), QPoint(0, 0)},
        // Screens far wider than a 16-bit count of twips still centre the splash.
        {QRect(0, 0, 7680, 4320), QPoint(3328, 1806)},
        {QRect(1280, 0, 1280, 1024), QPoint(1408, 158)},
    };
    for (const Case& c : cases) {
        const QRect placed = frmTip::placement(c.screen);
        EXPECT_EQ(placed.topLeft(), c.topLeft) << c.screen.width() << "x" << c.screen.height();
        EXPECT_EQ(placed.size(), QSize(1024, 708));
    }
}

TEST(AboutPlacement, CentredInTheWorkArea) {
    struct Case {
        QRect workArea;
        QPoint topLeft;
    };
    const Case cases[] = {
        {QRect(0, 0, 1280, 1024), QPoint(340, 312)},
        // A panel at the top or at the left: centred in what is left.
        {QRect(0, 40, 1280, 984), QPoint(340, 332)},
        {QRect(64, 0, 1216, 1024), QPoint(372, 312)},
        {QRect(0, 0, 1279, 1023), QPoint(340, 312)},
        // Smaller than the window: centred all the same.
        {QRect(0, 0, 500, 300), QPoint(-50, -50)},
    };
    for (const Case& c : cases) {
        const QRect placed = frmAbout::placement(c.workArea);
        EXPECT_EQ(placed.topLeft(), c.topLeft) << c.workArea.x() << "," << c.workArea.y();
        EXPECT_EQ(placed.size(), QSize(600, 400));
    }
}

using SplashTest = WindowTest;

TEST_F(SplashTest, ShowsOnTopThenClosesAfterThreeSecondsLeavingTheFrame) {
    declareSkins(1);
    writeFile(QStringLiteral("system/bk.MP4"));
    ASSERT_TRUE(start());
    frmTip& splash = app().window<frmTip>();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash.geometry(), frmTip::placement(splash.screen()->geometry()));
    EXPECT_TRUE(splash.Timer1().isActive());
    EXPECT_TRUE(splash.Timer1().isSingleShot());
    EXPECT_EQ(splash.Timer1().interval(), 3000);

    ASSERT_TRUE(waitUntil([&] { return !app().isLoaded<frmTip>(); }));
    EXPECT_TRUE(app().window<frmMain>().isVisible());
    EXPECT_TRUE(m_ended.isEmpty());
}

// Answers every box after running a step, as a box that stays open for a while lets timers run.
class BoxesRunningAStep : public MessageBoxService {
  public:
    explicit BoxesRunningAStep(std::function<void()> step) : m_step(std::move(step)) {}
    Answer show(Icon, Buttons buttons, const QString&, const QString&) override {
        m_step();
        return defaultAnswer(buttons);
    }

  private:
    std::function<void()> m_step;
};

TEST_F(SplashTest, CountsItsSecondsFromTheMomentItShows) {
    declareSkins(1);
    ASSERT_TRUE(start());
    windows().unload<frmTip>();

    frmTip* splash = windows().load<frmTip>();
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(splash->Timer1().isActive());
    splash->show();
    EXPECT_TRUE(splash->Timer1().isActive());
}

TEST_F(SplashTest, FrameOpensAtTheSplashsPlaceEvenWhenTheSplashWentFirst) {
    // No background clip: the video window tells the user during start-up, and the splash's
    // time runs out while that box is open.
    declareSkins(1);
    BoxesRunningAStep boxes([this] { windows().unload<frmTip>(); });
    m_services.messageBoxes = &boxes;
    ASSERT_TRUE(start());
    ASSERT_FALSE(app().isLoaded<frmTip>());

    const QRect screen = app().window<frmMain>().screen()->geometry();
    ASSERT_GT(screen.width(), 1024);
    const QRect expected(frmTip::placement(screen).topLeft(), QSize(1024, 708));
    EXPECT_NE(expected.topLeft(), QPoint(0, 0));
    EXPECT_EQ(app().window<frmMain>().geometry(), expected);
    EXPECT_EQ(app().window<frmMain>().homePosition(), expected.topLeft());
}

TEST_F(SplashTest, MissingSplashSkinEndsTheProgramBeforeAnyOtherWindow) {
    declareSkins(1, {QStringLiteral("skin/load/load1.mp4")});
    writeFile(QStringLiteral("system/bk.MP4"));

    EXPECT_FALSE(start());

    expectOneMessage(MessageBoxService::Icon::Critical, kWarningTitle, kSystemFileMissing);
    EXPECT_EQ(m_ended, QList<int>{1});
    EXPECT_FALSE(app().isLoaded<frmTip>());
    EXPECT_FALSE(app().isLoaded<frmMain>());
    EXPECT_TRUE(m_platform.mediaPlayers().isEmpty());
    EXPECT_TRUE(m_platform.mapBrowsers().isEmpty());
}

class AboutTest : public WindowTest {
  protected:
    void SetUp() override {
        declareSkins(1);
        writeFile(QStringLiteral("system/bk.MP4"));
        ASSERT_TRUE(start());
    }
};

TEST_F(AboutTest, SnapsBackAndAnswersItsTwoButtons) {
    frmAbout* about = windows().load<frmAbout>();
    ASSERT_NE(about, nullptr);
    about->show();
    const QRect home = frmAbout::placement(about->screen()->availableGeometry());
    EXPECT_EQ(about->geometry(), home);
    EXPECT_EQ(about->parentWidget(), &app().window<frmMain>());

    about->resize(900, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(about->geometry(), home);
    about->setGeometry(10, 10, 300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(about->geometry(), home);

    FakeSkinHost* skin = skinOf(about);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->loadedPath(), programPath(QStringLiteral("skin/about.mp4")));
    ASSERT_TRUE(skin->click(QStringLiteral("webstation")));
    EXPECT_EQ(m_platform.urls.opened(),
              QStringList{QStringLiteral("https://www.harventis.example/dvr-tools")});
    EXPECT_TRUE(about->isVisible());

    // A browser that cannot be opened changes nothing.
    m_platform.urls.setResult(false);
    ASSERT_TRUE(skin->click(QStringLiteral("webstation")));
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());

    ASSERT_TRUE(skin->click(QStringLiteral("close")));
    EXPECT_FALSE(about->isVisible());
}

TEST_F(AboutTest, MissingAboutSkinOnlyClosesTheAboutWindow) {
    FakeSkinHost::forgetSkins();
    declareSkins(1, {QStringLiteral("skin/about.mp4")});
    m_platform.messageBoxes.clear();
    bool aboutShown = false;
    QTimer::singleShot(0, [&] {
        aboutShown = app().isLoaded<frmAbout>() && app().window<frmAbout>().isVisible();
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });

    ASSERT_TRUE(skinOf(&app().window<frmMain>())->click(QStringLiteral("info")));
    QCoreApplication::processEvents();

    expectOneMessage(MessageBoxService::Icon::Critical, kWarningTitle, kSystemFileMissing);
    EXPECT_FALSE(aboutShown);
    EXPECT_FALSE(app().isLoaded<frmAbout>());
    EXPECT_TRUE(m_ended.isEmpty());
    EXPECT_TRUE(app().window<frmMain>().isVisible());

    // Put back, the about window opens again.
    declareSkins(1);
    QTimer::singleShot(0, [&] {
        aboutShown = app().isLoaded<frmAbout>() && app().window<frmAbout>().isVisible();
        skinOf(&app().window<frmAbout>())->click(QStringLiteral("close"));
    });
    ASSERT_TRUE(skinOf(&app().window<frmMain>())->click(QStringLiteral("info")));
    EXPECT_TRUE(aboutShown);
    EXPECT_FALSE(app().isLoaded<frmAbout>());
}

}  // namespace
