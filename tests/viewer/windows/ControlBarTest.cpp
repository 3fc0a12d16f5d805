#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTreeWidgetItem>

#include "LoaderFixture.h"
#include "list/frmMP4List.h"
#include "platform/fake/FakeChart.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "services/TrackTable.h"
#include "services/clsDot.h"
#include "shell/TextId.h"

namespace {

TEST(ControlBarSteps, PlaySpeedSnapsToFiveRates) {
    const struct {
        int value;
        int snapsTo;
        const char* rate;
    } cases[] = {{-7, -7, "0.2"}, {12, -7, "0.2"}, {13, 20, "0.5"}, {37, 20, "0.5"}, {38, 43, "1"},
                 {62, 43, "1"},   {63, 65, "1.5"}, {74, 65, "1.5"}, {75, 85, "2"},   {85, 85, "2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const frmCurve::RateStep step = frmCurve::rateStepFor(c.value);
        EXPECT_EQ(step.sliderValue, c.snapsTo);
        EXPECT_STREQ(step.rate, c.rate);
    }
}

TEST(ControlBarSteps, TimeAxisMarginGrowsWithTheTrack) {
    const std::pair<int, double> cases[] = {{1, 0},     {5, 4},     {8, 7},
                                            {9, 8.5},   {78, 77.5}, {79, 80},
                                            {148, 149}, {149, 151}, {3600, 3602}};
    for (const auto& [points, end] : cases) {
        EXPECT_DOUBLE_EQ(frmCurve::timeAxisEnd(points), end) << points;
    }
}

// Four recordings of ten seconds each, read and ticked, one point a second at 10 km/h steps.
class ControlBarTest : public LoaderFixture {
  protected:
    void SetUp() override {
        startViewer();
        const QString folder = m_home.root() + QStringLiteral("/20100506");
        ASSERT_TRUE(QDir().mkpath(folder));
        for (int i = 0; i < 4; ++i) {
            const QString path = folder + QStringLiteral("/1%100000.MP4").arg(i);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            m_files << path;
            QList<Sample> samples = drive(10);
            for (int s = 0; s < samples.size(); ++s) {
                samples[s].speed = QString::number(s * 10) + QStringLiteral(".000000");
            }
            giveDocument(path, samples);
        }
        addRecordings(m_files);
        for (int serial = 1; serial <= 4; ++serial) {
            clickCheck(serial);
        }
        ASSERT_EQ(app().tracks().size(), 4);
        m_platform.messageBoxes.clear();
        mtWmp()->clearCalls();
        browser()->clearScripts();
    }

    frmCurve& bar() { return app().window<frmCurve>(); }
    frmChild& video() { return app().window<frmChild>(); }
    FakeSkinHost& skin() { return *skinOf(&bar()); }
    SkinElement& element(const char* name) { return *skin().element(QString::fromLatin1(name)); }
    FakeChart& chart() { return *m_platform.charts().front(); }
    void press(const char* name) { ASSERT_TRUE(skin().click(QString::fromLatin1(name))); }
    void tickOnly(const QList<int>& serials) {
        for (int serial = 1; serial <= 4; ++serial) {
            list().setChecked(serial, serials.contains(serial));
        }
    }
    // The speed digits as their image offsets show them.
    QString digits() {
        QString shown;
        for (const char* name : {"A1", "A2", "A3"}) {
            shown += QString::number(element(name).imageNumbers().value(0) / 25);
        }
        return shown;
    }
    QStringList carMoves() const {
        QStringList moves;
        for (const QString& script : scripts()) {
            if (script.startsWith(QStringLiteral("MoveCar("))) {
                moves << script;
            }
        }
        return moves;
    }
    void tick() { video().tPlayTime_Timer(); }

    QStringList m_files;
};

TEST_F(ControlBarTest, PlayStartsTheFirstTickedRowFlaggingGoneFilesAndStopClearsAll) {
    ASSERT_TRUE(QFile::remove(m_files[0]));
    press("CMDPLAY");
    EXPECT_FALSE(list().isChecked(1));
    EXPECT_EQ(row(1)->text(frmMP4List::kMissing), QStringLiteral("1"));
    EXPECT_EQ(mtWmp()->url(), m_files[1]);
    EXPECT_EQ(mtWmp()->playState(), MediaPlayer::kPlaying);
    EXPECT_TRUE(mtWmp()->calls().contains(QStringLiteral("rate=1")));
    EXPECT_TRUE(video().tPlayTime().isActive());
    EXPECT_EQ(list().playingSerial(), 2);
    EXPECT_EQ(app().currentTrack(), app().tracks().find(TrackTable::keyFor(2)));
    EXPECT_EQ(bar().TCLineTag(), QStringLiteral("10"));
    EXPECT_EQ(chart().curve(1).size(), 10);
    EXPECT_FALSE(element("photo").pressedFlag());

    mtWmp()->setDuration(10.0);
    mtWmp()->simulatePosition(4.0);
    tick();
    ASSERT_EQ(digits(), QStringLiteral("030"));
    browser()->clearScripts();
    press("STOP");
    EXPECT_EQ(digits(), QStringLiteral("000"));
    EXPECT_TRUE(carMoves().isEmpty());
    EXPECT_TRUE(mtWmp()->url().isEmpty());
    EXPECT_TRUE(chart().curve(1).isEmpty());
    EXPECT_FALSE(chart().cursor().has_value());
    EXPECT_EQ(chart().xRange(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(chart().yRange(), std::make_pair(0.0, 0.0));
    EXPECT_TRUE(element("photo").pressedFlag());

    // Play after a stop starts the first ticked row from its beginning.
    tickOnly({3, 4});
    mtWmp()->clearCalls();
    press("CMDPLAY");
    EXPECT_EQ(mtWmp()->url(), m_files[2]);
    EXPECT_FALSE(mtWmp()->calls().join(u' ').contains(QStringLiteral("position=")));
}

TEST_F(ControlBarTest, PlayWithNothingToStartSaysWhy) {
    tickOnly({});
    press("CMDPLAY");
    expectOneMessage(MessageBoxService::Icon::Information, app().text(TextId::kInformationPrompted),
                     app().text(TextId::kSelectFromList));
    EXPECT_TRUE(mtWmp()->url().isEmpty());

    m_platform.messageBoxes.clear();
    list().LstMP4().clear();
    press("CMDPLAY");
    expectOneMessage(MessageBoxService::Icon::Information, app().text(TextId::kInformationPrompted),
                     app().text(TextId::kNoMediaSelected));
}

TEST_F(ControlBarTest, TransportFollowsThePlayState) {
    struct Step {
        const char* what;
        std::function<void()> act;
        int state;
        bool fast;
        QStringList calls;
    };
    const Step steps[] = {
        {"fast forward while stopped does nothing", [&] { press("FAST"); }, 0, false, {}},
        {"rewind while stopped does nothing", [&] { press("BACK"); }, 0, false, {}},
        {"progress while stopped does nothing",
         [&] { skin().moveSlider(QStringLiteral("playprogress"), 50); },
         0,
         false,
         {}},
        {"snapshot while nothing plays does nothing", [&] { press("PHOTO"); }, 0, false, {}},
        {"play starts row 1",
         [&] { press("CMDPLAY"); },
         MediaPlayer::kPlaying,
         false,
         {QStringLiteral("url=") + m_files[0], QStringLiteral("play"), QStringLiteral("rate=1")}},
        {"fast forward", [&] { press("FAST"); }, MediaPlayer::kPlaying, true, {}},
        {"play during fast forward: normal play, no seek",
         [&] { press("CMDPLAY"); },
         MediaPlayer::kPlaying,
         false,
         {}},
        {"progress 25 of 10 points: second 2 (halves to even)",
         [&] { skin().moveSlider(QStringLiteral("playprogress"), 25); },
         MediaPlayer::kPlaying,
         false,
         {QStringLiteral("position=2")}},
        {"progress 35: second 4",
         [&] { skin().moveSlider(QStringLiteral("playprogress"), 35); },
         MediaPlayer::kPlaying,
         false,
         {QStringLiteral("position=4")}},
        {"rewind", [&] { press("BACK"); }, MediaPlayer::kPlaying, true, {}},
        {"pause ends rewinding",
         [&] { press("PAUSE"); },
         MediaPlayer::kPaused,
         false,
         {QStringLiteral("pause")}},
        {"fast forward while paused does nothing", [&] { press("FAST"); }, 2, false, {}},
        {"a tick keeps the last whole second",
         [&] {
             mtWmp()->simulatePosition(6.5);
             tick();
             mtWmp()->clearCalls();
         },
         MediaPlayer::kPaused,
         false,
         {}},
        {"rate 1.5 chosen while paused",
         [&] { skin().moveSlider(QStringLiteral("playspeed"), 70); },
         MediaPlayer::kPaused,
         false,
         {QStringLiteral("rate=1.5")}},
        {"play resumes at the last whole second at the rate chosen",
         [&] { press("CMDPLAY"); },
         MediaPlayer::kPlaying,
         false,
         {QStringLiteral("position=6"), QStringLiteral("play"), QStringLiteral("rate=1.5")}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        mtWmp()->clearCalls();
        step.act();
        EXPECT_EQ(mtWmp()->playState(), step.state);
        EXPECT_EQ(bar().tFast().isActive(), step.fast);
        EXPECT_EQ(mtWmp()->calls(), step.calls);
    }
    EXPECT_EQ(element("playspeed").sliderValue(), 65);
    EXPECT_EQ(video().playRate(), QStringLiteral("1.5"));
    // The rate chosen is applied on every tick and survives a new recording.
    mtWmp()->clearCalls();
    tick();
    EXPECT_TRUE(mtWmp()->calls().contains(QStringLiteral("rate=1.5")));
    press("END");
    EXPECT_EQ(mtWmp()->url(), m_files[1]);
    EXPECT_TRUE(mtWmp()->calls().endsWith(QStringLiteral("rate=1.5")));
}

TEST_F(ControlBarTest, PreviousAndNextMoveAlongTickedRowsWithATrack) {
    tickOnly({1, 3, 4});
    press("HEAD");
    EXPECT_TRUE(mtWmp()->url().isEmpty()) << "nothing plays: no previous row";
    press("CMDPLAY");
    ASSERT_EQ(list().playingSerial(), 1);
    press("HEAD");
    EXPECT_EQ(list().playingSerial(), 1) << "the first row has no previous";

    press("END");
    EXPECT_EQ(mtWmp()->url(), m_files[2]) << "row 2 is not ticked";
    // Row 4 is ticked but its track is gone from the table: nothing starts and the playing
    // recording goes on, with its track still current.
    app().tracks().remove(TrackTable::keyFor(4));
    mtWmp()->clearCalls();
    press("END");
    EXPECT_TRUE(mtWmp()->calls().isEmpty());
    EXPECT_EQ(list().playingSerial(), 3);
    mtWmp()->setDuration(10.0);
    mtWmp()->simulatePosition(3.0);
    tick();
    EXPECT_EQ(digits(), QStringLiteral("020"));

    press("HEAD");
    EXPECT_EQ(mtWmp()->url(), m_files[0]);
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(ControlBarTest, TheEndOfARecordingStartsTheNextTickedRowRoundTheList) {
    const struct {
        QList<int> ticked;
        int playing;
        int next;
    } cases[] = {{{2, 4}, 4, 2}, {{3}, 3, 3}, {{1, 2, 3, 4}, 4, 1}, {{1, 4}, 2, 4}, {{}, 3, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.playing);
        tickOnly(c.ticked);
        list().setPlayingSerial(c.playing);
        mtWmp()->setUrl(m_files[c.playing - 1]);
        mtWmp()->play();
        mtWmp()->simulatePlayState(MediaPlayer::kMediaEnded);
        EXPECT_EQ(list().tContinue().isActive(), c.next != 0);
        if (c.next == 0) {
            EXPECT_TRUE(element("photo").pressedFlag());
            continue;
        }
        list().tContinue_Timer();
        EXPECT_EQ(mtWmp()->url(), m_files[c.next - 1]);
        EXPECT_EQ(list().playingSerial(), c.next);
        EXPECT_EQ(mtWmp()->currentPosition(), 0.0);
    }
}

TEST_F(ControlBarTest, TicksMoveTheReadOutsTheCarAndTheCursorNeverTheCurves) {
    press("CMDPLAY");
    const int fills = chart().curveFills();
    const QColor white(Qt::white);

    mtWmp()->setDuration(10.0);
    mtWmp()->simulatePosition(3.2);
    tick();
    EXPECT_EQ(video().lastSecond(), QStringLiteral("3"));
    EXPECT_EQ(element("playprogress").sliderValue(), 30);
    EXPECT_EQ(app().currentTrack()->lPlayLocal, 3);
    EXPECT_EQ(chart().cursor(), (FakeChart::Cursor{3.0, -200.0, 200.0, white}));
    EXPECT_EQ(digits(), QStringLiteral("020"));
    EXPECT_EQ(carMoves(), QStringList{QStringLiteral("MoveCar('121.500200|25.000200|3|90')")});

    // Second 0: point 1, the cursor at 0; the digits and the car keep what they showed.
    browser()->clearScripts();
    mtWmp()->simulatePosition(0.4);
    tick();
    EXPECT_EQ(app().currentTrack()->lPlayLocal, 1);
    EXPECT_EQ(chart().cursor(), (FakeChart::Cursor{0.0, -200.0, 200.0, white}));
    EXPECT_EQ(digits(), QStringLiteral("020"));
    EXPECT_TRUE(carMoves().isEmpty());

    // A recording of a second or less: only the mute rule runs.
    skin().moveSlider(QStringLiteral("volume"), 1);
    mtWmp()->setDuration(1.4);
    mtWmp()->simulatePosition(1.0);
    mtWmp()->clearCalls();
    tick();
    EXPECT_TRUE(mtWmp()->mute());
    EXPECT_FALSE(element("speaker").pressedFlag());
    EXPECT_EQ(element("playprogress").sliderValue(), 0);
    EXPECT_EQ(app().currentTrack()->lPlayLocal, 1);
    EXPECT_EQ(chart().curveFills(), fills);
}

TEST_F(ControlBarTest, SpeedDigitsInTheUnitChosen) {
    const struct {
        int unit;
        const char* speed;
        const char* digits;
    } cases[] = {{1001, "7.6", "008"}, {1001, "1234", "124"}, {1001, "0.5", "000"},
                 {1001, "1.5", "002"}, {1002, "100", "062"},  {1003, "100", "054"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        app().setUnitCode(c.unit);
        bar().DataShow(QString::fromLatin1(c.speed) +
                       QStringLiteral("|121.500100|25.000100|2012/10/05|2|90"));
        EXPECT_EQ(digits(), QString::fromLatin1(c.digits));
        for (const char* name : {"A1", "A2", "A3"}) {
            EXPECT_EQ(element(name).imageName(), QStringLiteral("datum"));
            EXPECT_EQ(element(name).imageNumbers().mid(1), (QList<int>{0, 250, 30}));
        }
    }
    // The car moves only with a coordinate longer than five characters and the page ready.
    EXPECT_EQ(carMoves(), QStringList(6, QStringLiteral("MoveCar('121.500100|25.000100|2|90')")));
    browser()->clearScripts();
    bar().DataShow(QStringLiteral("5|121.5|25.1|d|2|90"));
    app().mapPage().setReadyFlag(MapPage::kLoading);
    bar().DataShow(QStringLiteral("5|121.50|25.1|d|2|90"));
    EXPECT_TRUE(carMoves().isEmpty());
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(ControlBarTest, ChartRangesFollowTheModeAndTheTrack) {
    QList<Sample> samples = drive(9);
    samples[2].speed = QStringLiteral("100.000000");
    samples[3].gX = QStringLiteral("-1.100000");
    samples[4].gY = QStringLiteral("0.900000");
    samples[5].gZ = QStringLiteral("0.500000");
    for (Sample& s : samples) {
        s.gZ = s.gZ == QStringLiteral("1.000000") ? QStringLiteral("0.200000") : s.gZ;
    }
    const QString path = QFileInfo(m_files[0]).path() + QStringLiteral("/140000.MP4");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    giveDocument(path, samples);
    addRecordings({path});
    clickCheck(5);
    tickOnly({});

    press("GS");
    EXPECT_EQ(bar().chartMode(), QStringLiteral("GS"));
    EXPECT_EQ(chart().curveFills(), 0) << "the mode alone changes while stopped";
    press("CMDPLAY");
    EXPECT_EQ(chart().xRange(), std::make_pair(0.0, 8.5));
    EXPECT_NEAR(chart().yRange().first, -1.3, 1e-9);
    EXPECT_NEAR(chart().yRange().second, 1.1, 1e-9);
    EXPECT_EQ(chart().curve(1).at(3), -1.1);
    EXPECT_EQ(chart().curve(2).at(4), 0.9);
    EXPECT_EQ(chart().curve(3).at(5), 0.5);
    EXPECT_EQ(chart().labels().size(), 9);
    EXPECT_EQ(chart().labels().at(1), QStringLiteral("00:01"));
    EXPECT_TRUE(element("chart").pressedFlag());
    EXPECT_EQ(element("GS").look(), SkinElement::Look::Selected);

    press("SPEED");
    EXPECT_EQ(element("GS").look(), SkinElement::Look::Normal);
    EXPECT_EQ(chart().yRange(), std::make_pair(0.0, 105.0));
    EXPECT_EQ(chart().curve(1).at(2), 100.0);
    EXPECT_TRUE(chart().curve(2).isEmpty());
    EXPECT_FALSE(element("chart").pressedFlag());
    const int fills = chart().curveFills();
    press("SPEED");
    EXPECT_EQ(chart().curveFills(), fills) << "speed shown already: no redraw";

    app().setUnitCode(1002);
    bar().DrawCurves();
    EXPECT_NEAR(chart().yRange().second, 100 * 0.6213712 + 5, 1e-9);
    // Drawing keeps the current point.
    EXPECT_EQ(app().currentTrack()->lPlayLocal, 1);
}

TEST_F(ControlBarTest, AChartClickSeeksMovesTheCarAndDrawsTheRedCursor) {
    press("CMDPLAY");
    chart().placePoint(1, QPoint(40, 30), 0);
    chart().placePoint(1, QPoint(120, 30), 6);
    const QColor red(255, 0, 0);

    const struct {
        QPoint at;
        int index;
        const char* seek;
        const char* car;
    } cases[] = {{{120, 30}, 7, "position=6", "MoveCar('121.500600|25.000600|7|90')"},
                 {{40, 30}, 1, "position=0", "MoveCar('121.500000|25.000000|1|90')"}};
    for (const auto& c : cases) {
        mtWmp()->clearCalls();
        browser()->clearScripts();
        chart().releaseMouse(c.at);
        EXPECT_EQ(app().currentTrack()->lPlayLocal, c.index);
        EXPECT_EQ(mtWmp()->calls(), QStringList{QString::fromLatin1(c.seek)});
        EXPECT_EQ(carMoves(), QStringList{QString::fromLatin1(c.car)});
        EXPECT_EQ(chart().cursor(), (FakeChart::Cursor{c.index - 1.0, 0.0, 200.0, red}));
    }
    // Between points: nothing changes.
    mtWmp()->clearCalls();
    chart().releaseMouse(QPoint(80, 30));
    EXPECT_TRUE(mtWmp()->calls().isEmpty());
    EXPECT_EQ(app().currentTrack()->lPlayLocal, 1);
}

TEST_F(ControlBarTest, FastForwardAndRewindStopOnlyAtTheirOwnEnd) {
    press("CMDPLAY");
    mtWmp()->setDuration(10.0);
    const struct {
        const char* button;
        double at;
        const char* call;
    } cases[] = {{"FAST", 0.4, "position=1"}, {"FAST", 7.6, "position=9"}, {"FAST", 8.6, "pause"},
                 {"BACK", 9.6, "position=9"}, {"BACK", 1.4, "position=0"}, {"BACK", 0.4, "pause"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " at " + std::to_string(c.at));
        if (mtWmp()->playState() != MediaPlayer::kPlaying) {
            press("CMDPLAY");
        }
        press(c.button);
        ASSERT_TRUE(bar().tFast().isActive());
        mtWmp()->simulatePosition(c.at);
        mtWmp()->clearCalls();
        bar().tFast_Timer();
        EXPECT_EQ(mtWmp()->calls(), QStringList{QString::fromLatin1(c.call)});
        EXPECT_EQ(bar().tFast().isActive(), c.call != std::string("pause"));
    }
}

TEST_F(ControlBarTest, SpeakerAndVolume) {
    press("CMDPLAY");
    skin().moveSlider(QStringLiteral("volume"), 40);
    EXPECT_EQ(mtWmp()->volume(), 40);
    press("SPEAKER");
    EXPECT_TRUE(mtWmp()->mute());
    EXPECT_TRUE(element("speaker").pressedFlag());
    EXPECT_EQ(element("volume").sliderValue(), 0);
    tick();
    EXPECT_TRUE(mtWmp()->mute()) << "the slider at 0 keeps it muted";
    press("SPEAKER");
    EXPECT_FALSE(mtWmp()->mute());
    EXPECT_EQ(element("volume").sliderValue(), 40);
    // Moving the slider while muted takes the mute off on the next tick.
    press("SPEAKER");
    skin().moveSlider(QStringLiteral("volume"), 30);
    EXPECT_FALSE(element("speaker").pressedFlag());
    tick();
    EXPECT_FALSE(mtWmp()->mute());
}

TEST_F(ControlBarTest, APlayerErrorStopsClearsAndKeepsTheRow) {
    press("CMDPLAY");
    mtWmp()->simulatePosition(5.0);
    tick();
    mtWmp()->simulateError(QStringLiteral("Could not demultiplex stream."));
    expectOneMessage(
        MessageBoxService::Icon::Critical, app().text(TextId::kWarningTitle),
        app().text(TextId::kRecordingUnplayable) + QStringLiteral("Could not demultiplex stream."));
    EXPECT_TRUE(mtWmp()->url().isEmpty());
    EXPECT_EQ(digits(), QStringLiteral("000"));
    EXPECT_TRUE(chart().curve(1).isEmpty());
    EXPECT_TRUE(list().isChecked(1));
    EXPECT_EQ(row(1)->text(frmMP4List::kMissing), QStringLiteral("0"));
    EXPECT_TRUE(element("photo").pressedFlag());
}

TEST_F(ControlBarTest, AStartDuringTheWaitOfAnotherTakesOver) {
    bool nested = false;
    m_platform.waits.setOnSleep([&](int) {
        if (!nested) {
            nested = true;
            list().armContinue(3);
            list().tContinue_Timer();
        }
    });
    press("CMDPLAY");
    QStringList opened;
    for (const QString& call : mtWmp()->calls()) {
        if (call.startsWith(QStringLiteral("url="))) {
            opened << call;
        }
    }
    EXPECT_EQ(opened, QStringList{QStringLiteral("url=") + m_files[2]});
    EXPECT_EQ(list().playingSerial(), 3);
    EXPECT_EQ(app().currentTrack(), app().tracks().find(TrackTable::keyFor(3)));
    EXPECT_EQ(bar().TCLineTag(), QStringLiteral("10"));
}

}  // namespace

namespace {

TEST_F(ControlBarTest, ASnapshotSavesTheDecodedPictureAsAJpegFile) {
    QImage frame(64, 36, QImage::Format_RGB32);
    frame.fill(QColor(200, 30, 30));
    mtWmp()->showFrame(frame);
    const auto asked = m_platform.fileDialogs.requests().size();
    press("PHOTO");
    EXPECT_EQ(m_platform.fileDialogs.requests().size(), asked) << "refused while nothing plays";

    press("CMDPLAY");
    const QString folder = m_home.root() + QStringLiteral("/shots");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile old(folder + QStringLiteral("/kept.jpg"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older file of that name");
    old.close();
    const struct {
        QString answer;
        QString written;
        bool refused;
    } cases[] = {
        {folder + QStringLiteral("/typed"), folder + QStringLiteral("/typed.jpg"), false},
        {folder + QStringLiteral("/kept.jpg"), folder + QStringLiteral("/kept.jpg"), false},
        {folder + QStringLiteral("/gone/x.jpg"), QString(), true},
        {QString(), QString(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        m_platform.messageBoxes.clear();
        if (!c.answer.isEmpty()) {
            m_platform.fileDialogs.queueSave(c.answer);
        }
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        press("PHOTO");
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        ASSERT_TRUE(m_platform.fileDialogs.requests().last().save);
        const auto& request = m_platform.fileDialogs.requests().last();
        EXPECT_EQ(request.title, app().text(TextId::kPictureFolderTitle));
        EXPECT_EQ(request.filter, app().text(TextId::kJpgFilter));
        const QDateTime named =
            QDateTime::fromString(request.fileName, QStringLiteral("yyyyMMddhhmmss"));
        EXPECT_TRUE(named >= before.addMSecs(-before.time().msec()) && named <= after)
            << request.fileName.toStdString();
        if (c.refused) {
            ASSERT_EQ(messageTexts().size(), 1);
            EXPECT_TRUE(messageTexts().first().startsWith(app().text(TextId::kSnapshotNotSaved)));
            EXPECT_FALSE(QFile::exists(c.answer));
            continue;
        }
        EXPECT_TRUE(messageTexts().isEmpty());
        if (c.written.isEmpty()) {
            continue;
        }
        const QImage saved(c.written, "JPEG");
        ASSERT_FALSE(saved.isNull());
        EXPECT_EQ(saved.size(), frame.size());
        EXPECT_NEAR(QColor(saved.pixel(32, 18)).red(), 200, 8);
    }
    EXPECT_EQ(app().window<frmChild>().picSave().size(), frame.size());
}

}  // namespace
