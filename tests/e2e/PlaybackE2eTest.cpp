#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <cmath>
#include <csignal>

#include "ProbeSkinHost.h"
#include "ViewerHarness.h"
#include "about/frmTip.h"
#include "app/StateProbe.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/MediaPlayer.h"
#include "platform/QtChart.h"
#include "platform/SkinElement.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "services/clsDot.h"
#include "settings/frmSetupInfo.h"
#include "shell/AppPaths.h"

namespace {

// The viewer with its map page up and two recordings of a made-up drive, read and ticked.
class PlaybackE2eTest : public ::testing::Test {
  protected:
    static constexpr int kSeconds = 12;

    void SetUp() override {
        const QString day = m_folder.filePath(QStringLiteral("20200101"));
        ASSERT_TRUE(QDir().mkpath(day));
        for (const char* name : {"/120000.MP4", "/120100.MP4"}) {
            m_files << ViewerHarness::makeRecording(day + QString::fromLatin1(name), kSeconds);
        }
        ASSERT_FALSE(m_files.contains(QString())) << "make-recording could not make a recording";
        m_viewer = std::make_unique<ViewerHarness>();
        ASSERT_TRUE(m_viewer->startWithMap());
        m_viewer->fileDialogs().queueOpen(m_files);
        ASSERT_TRUE(m_viewer->clickOnScreen(&frame(), QStringLiteral("open")));
        ASSERT_TRUE(m_viewer->tickRow(0));
        ASSERT_TRUE(m_viewer->tickRow(1));
        ASSERT_TRUE(
            ViewerHarness::waitUntil([&] { return page("harvdvrPage.routeCount()") == "2"; }));
    }

    frmMain& frame() { return m_viewer->app().window<frmMain>(); }
    frmMP4List& list() { return m_viewer->app().window<frmMP4List>(); }
    frmCurve& bar() { return m_viewer->app().window<frmCurve>(); }
    MediaPlayer& player() { return m_viewer->app().window<frmChild>().mtWmp(); }
    QString page(const QString& expression) { return m_viewer->page(expression); }
    // A key pressed in the frame. Without a window manager the frame loses the keyboard when
    // the video's native window comes up; on a desktop it has it while the user works in it.
    void key(Qt::Key key) {
        frame().activateWindow();
        ASSERT_TRUE(
            ViewerHarness::waitUntil([&] { return QApplication::activeWindow() == &frame(); }));
        QTest::keyClick(&frame(), key);
    }
    bool press(const char* button) {
        return m_viewer->clickOnScreen(&bar(), QString::fromLatin1(button));
    }
    // The speed digits as the digit pictures show them.
    QString digits() {
        QString shown;
        for (const char* name : {"A1", "A2", "A3"}) {
            SkinElement* digit =
                m_viewer->skinOf(&bar())->inner().element(QString::fromLatin1(name));
            shown += QString::number(digit->imageNumbers().value(0) / 25);
        }
        return shown;
    }
    // The car's point index on the map page.
    int carIndex() {
        return page(QStringLiteral("harvdvrPage.car()")).split(u'|').value(2).toInt();
    }
    // How far the recording moves in a stretch of real time.
    double advanceOver(int milliseconds) {
        const double from = player().currentPosition();
        QElapsedTimer clock;
        clock.start();
        ViewerHarness::waitUntil([&] { return clock.elapsed() >= milliseconds; });
        return player().currentPosition() - from;
    }

    QTemporaryDir m_folder;
    QStringList m_files;
    std::unique_ptr<ViewerHarness> m_viewer;
};

TEST_F(PlaybackE2eTest, ARecordingPlaysWithTheCarTheDigitsAndTheChartInStep) {
    ASSERT_TRUE(press("CMDPLAY"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] {
        return player().playState() == MediaPlayer::kPlaying && player().currentPosition() > 3.0;
    }));
    EXPECT_EQ(player().url(), m_files[0]);
    EXPECT_EQ(bar().TCLineTag(), QString::number(kSeconds));
    // The read-outs follow within a tick or two.
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return carIndex() >= 3 && digits() != "000"; }));
    const int index = carIndex();
    ViewerHarness::saveScreen(QStringLiteral("playing"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return carIndex() > index; }));
    EXPECT_TRUE(m_viewer->messageBoxes().shown().isEmpty());

    // The chart's cursor follows; G-sensor mode redraws three curves; a click on the curve
    // seeks the video there and marks the point with the red cursor.
    QtChart& chart = dynamic_cast<QtChart&>(*bar().TCLine());
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return chart.drawnCursor().has_value(); }));
    const double cursorAt = chart.drawnCursor()->x1();
    ASSERT_TRUE(ViewerHarness::waitUntil(
        [&] { return chart.drawnCursor() && chart.drawnCursor()->x1() > cursorAt + 5; }));
    ASSERT_TRUE(press("GS"));
    EXPECT_EQ(bar().chartMode(), QStringLiteral("GS"));
    ASSERT_TRUE(chart.positionOf(3, 2).has_value());
    advanceOver(500);
    ViewerHarness::saveScreen(QStringLiteral("playing-gsensor"));
    ASSERT_TRUE(press("SPEED"));
    const std::optional<QPoint> point = chart.positionOf(1, 9);
    ASSERT_TRUE(point.has_value());
    ASSERT_TRUE(ViewerHarness::clickOnScreen(chart.widget(), *point));
    EXPECT_EQ(m_viewer->app().currentTrack()->lPlayLocal, 10);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return carIndex() == 10; }));
    EXPECT_NEAR(player().currentPosition(), 9.0, 1.0);

    // Space pauses; the position stays; Space plays on.
    key(Qt::Key_Space);
    ASSERT_TRUE(
        ViewerHarness::waitUntil([&] { return player().playState() == MediaPlayer::kPaused; }));
    EXPECT_LT(advanceOver(1200), 0.3);
    key(Qt::Key_Space);
    ASSERT_TRUE(
        ViewerHarness::waitUntil([&] { return player().playState() == MediaPlayer::kPlaying; }));

    // Home goes back to the start, and the car with it.
    key(Qt::Key_Home);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().currentPosition() < 2.0; }));

    // Stop: digits 000, the chart empty, the video gone.
    ASSERT_TRUE(press("STOP"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().url().isEmpty(); }));
    EXPECT_EQ(digits(), QStringLiteral("000"));
}

TEST_F(PlaybackE2eTest, RateTwoPlaysFasterAndFastForwardPausesAtTheEnd) {
    ASSERT_TRUE(press("CMDPLAY"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().currentPosition() > 1.0; }));
    const double atOne = advanceOver(2000);
    ASSERT_TRUE(m_viewer->moveSlider(&bar(), QStringLiteral("playspeed"), 85));
    EXPECT_EQ(m_viewer->app().window<frmChild>().playRate(), QStringLiteral("2"));
    key(Qt::Key_Home);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().currentPosition() < 1.0; }));
    const double atTwo = advanceOver(2000);
    EXPECT_GT(atTwo, atOne * 1.4) << "rate 1: " << atOne << " s, rate 2: " << atTwo << " s";

    ASSERT_TRUE(press("FAST"));
    ASSERT_TRUE(ViewerHarness::waitUntil(
        [&] { return player().playState() == MediaPlayer::kPaused && !bar().tFast().isActive(); }));
    EXPECT_GE(player().currentPosition(), kSeconds - 2.0);
    EXPECT_EQ(player().url(), m_files[0]);
}

TEST_F(PlaybackE2eTest, TheEndOfARecordingStartsTheNextTickedOne) {
    ASSERT_TRUE(press("CMDPLAY"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().currentPosition() > 1.0; }));
    key(Qt::Key_End);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] {
        return player().url() == m_files[1] && player().playState() == MediaPlayer::kPlaying &&
               player().currentPosition() > 1.0;
    }));
    EXPECT_EQ(list().playingSerial(), 2);
    EXPECT_EQ(list().LstMP4().topLevelItem(1)->foreground(frmMP4List::kDisplay).color(),
              QColor(255, 255, 0));
    EXPECT_TRUE(m_viewer->messageBoxes().shown().isEmpty());
}

TEST_F(PlaybackE2eTest, ASnapshotIsTheVideoPictureAtItsOwnSize) {
    ASSERT_TRUE(press("CMDPLAY"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().currentPosition() > 2.0; }));
    // The window is moved off centre: the picture is still the video's.
    frame().move(frame().pos() + QPoint(90, 40));
    const QString path = m_folder.filePath(QStringLiteral("snapshot"));
    m_viewer->fileDialogs().queueSave(path);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return press("PHOTO"); }));
    const QImage saved(path + QStringLiteral(".jpg"), "JPEG");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(320, 180));
    // The pattern's six bars, red to cyan, left to right: most of each bar's column shows it
    // (a moving band and the clock cross some of it).
    const QColor bars[] = {Qt::red, Qt::green, Qt::yellow, Qt::blue, Qt::magenta, Qt::cyan};
    for (int bar = 0; bar < 6; ++bar) {
        const int x = saved.width() * (2 * bar + 1) / 12;
        int like = 0;
        int samples = 0;
        for (int y = saved.height() / 3; y < saved.height(); y += 6, ++samples) {
            const QColor c = saved.pixelColor(x, y);
            const QColor want = bars[bar];
            like += std::abs(c.red() - want.red()) < 60 &&
                    std::abs(c.green() - want.green()) < 60 &&
                    std::abs(c.blue() - want.blue()) < 60;
        }
        EXPECT_GT(like, samples / 2) << "bar " << bar;
    }
    EXPECT_TRUE(m_viewer->messageBoxes().shown().isEmpty());
}

TEST_F(PlaybackE2eTest, MilesPerHourChosenWhilePlayingShowAtOnce) {
    ASSERT_TRUE(press("CMDPLAY"));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return player().currentPosition() > 6.0; }));
    key(Qt::Key_Space);
    ASSERT_TRUE(
        ViewerHarness::waitUntil([&] { return player().playState() == MediaPlayer::kPaused; }));
    advanceOver(2000);
    const int kmh = digits().toInt();
    ASSERT_GT(kmh, 5) << "the made-up drive moves by then";

    ViewerHarness::whenModal([&](QWidget*) {
        QWidget& settings = *m_viewer->app().window<frmSetupInfo>().window();
        EXPECT_TRUE(m_viewer->clickOnScreen(&settings, QStringLiteral("unit1002")));
        EXPECT_TRUE(m_viewer->clickOnScreen(&settings, QStringLiteral("cmdclose")));
    });
    ASSERT_TRUE(m_viewer->clickOnScreen(&frame(), QStringLiteral("setup")));
    const int mph = static_cast<int>(std::lround(kmh * 0.6213712));
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return std::abs(digits().toInt() - mph) <= 1; }))
        << digits().toStdString() << " for " << kmh << " km/h";
    SkinElement* unit = m_viewer->skinOf(&bar())->inner().element(QStringLiteral("unit"));
    EXPECT_EQ(unit->imageName(), QStringLiteral("1002"));
    EXPECT_EQ(m_viewer->app().unitCode(), 1002);
    EXPECT_TRUE(m_viewer->messageBoxes().shown().isEmpty());
}

TEST_F(PlaybackE2eTest, ALanguageRestartComesBackInTheNewLanguageWithTheSameList) {
    // The new run inherits the environment: its state file tells how it came up.
    const QString stateFile = m_folder.filePath(QStringLiteral("state.json"));
    qputenv(StateProbe::kStateFileVariable, stateFile.toUtf8());
    m_viewer->messageBoxes().queueAnswer(MessageBoxService::Answer::Yes);
    ViewerHarness::whenModal([&](QWidget*) {
        QWidget& settings = *m_viewer->app().window<frmSetupInfo>().window();
        EXPECT_TRUE(m_viewer->clickOnScreen(&settings, QStringLiteral("lang1002")));
        EXPECT_TRUE(m_viewer->clickOnScreen(&settings, QStringLiteral("cmdclose")));
    });
    ASSERT_TRUE(m_viewer->clickOnScreen(&frame(), QStringLiteral("setup")));
    qunsetenv(StateProbe::kStateFileVariable);
    EXPECT_EQ(m_viewer->ended(), QList<int>{0});

    QJsonObject state;
    const bool up = ViewerHarness::waitUntil([&] {
        QFile file(stateFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        state = QJsonDocument::fromJson(file.readAll()).object();
        return state.value(QStringLiteral("frame")).toBool() &&
               state.value(QStringLiteral("ready")).toInt() == 1;
    });
    const qint64 pid = state.value(QStringLiteral("pid")).toInteger();
    if (up) {
        ViewerHarness::saveScreen(QStringLiteral("restarted-zh"));
    }
    if (pid > 0) {
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
    ASSERT_TRUE(up) << "the new run did not come up";
    EXPECT_EQ(state.value(QStringLiteral("languageNumber")).toInt(), 2);
    const QJsonArray rows = state.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(rows.at(i).toArray().at(frmMP4List::kPath).toString(), m_files[i]);
    }
    EXPECT_FALSE(QFile::exists(AppPaths::handOverFile()));
}

}  // namespace
