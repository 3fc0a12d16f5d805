#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTreeWidgetItem>

#include "LoaderFixture.h"
#include "list/frmMP4List.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeSkinHost.h"
#include "services/TrackTable.h"
#include "services/clsDot.h"
#include "shell/Windows.h"
#include "track/frmSendData.h"

namespace {

const QString kWarningTitle = QStringLiteral("The system warning information ");
// Blanks, quotes and shell characters reach the tool as one argument.
const QString kRecording = QStringLiteral("/card/20100506/my  \"drive\" $(x);.MP4");

class TrackLoaderTest : public LoaderFixture {
  protected:
    std::shared_ptr<clsDot> track(int serial) {
        return app().tracks().find(TrackTable::keyFor(serial));
    }
    // Points in a batch: "lon!lat|" each.
    static int pointsIn(const QString& batch) { return static_cast<int>(batch.count(u'|')); }
};

TEST_F(TrackLoaderTest, ReadsTheTickedRowAndDrawsItInBatchesWhileReading) {
    startViewer();
    addRecordings({kRecording});
    giveDocument(kRecording, drive(25));
    QFile stale(documentPath());
    ASSERT_TRUE(QDir().mkpath(m_home.scratchFolder()));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("an old track");
    stale.close();
    QFile::setPermissions(documentPath(), QFileDevice::ReadOwner);

    clickCheck(1);

    ASSERT_EQ(m_platform.processes.started().size(), 1);
    const auto& run = m_platform.processes.started().first();
    EXPECT_EQ(run.program, programPath(QStringLiteral("movsupport/Parse")));
    EXPECT_EQ(run.arguments, QStringList{kRecording});
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join(u'\n').toStdString();

    // The first batch holds the serial and point 0, then 10, 10 and 4 points, then "Over".
    const QStringList sent = batches();
    ASSERT_EQ(sent.size(), 5);
    EXPECT_EQ(sent.first(), QStringLiteral("001121.500000!25.000000|"));
    EXPECT_EQ((QList<int>{pointsIn(sent[1]), pointsIn(sent[2]), pointsIn(sent[3])}),
              (QList<int>{10, 10, 4}));
    EXPECT_FALSE(sent[1].startsWith(QStringLiteral("001")));
    EXPECT_EQ(sent.last(), QStringLiteral("Over"));

    ASSERT_NE(track(1), nullptr);
    EXPECT_EQ(track(1)->lDotCount(), 25);
    EXPECT_EQ(track(1)->lSerial, 1);
    EXPECT_EQ(row(1)->text(frmMP4List::kLoaded), QStringLiteral("1"));
    EXPECT_EQ(row(1)->text(frmMP4List::kOnMap), QStringLiteral("1"));
    // The loading window has gone with its load.
    EXPECT_FALSE(app().isLoaded<frmSendData>());
}

TEST_F(TrackLoaderTest, KeepsTheDocumentsValuesRoundedHalfToEven) {
    startViewer();
    addRecordings({kRecording});
    QList<Sample> samples = drive(4);
    samples[0].clock = QStringLiteral("09:59:58");
    samples[0].speed = QStringLiteral("44.5");
    samples[0].gX = QStringLiteral("0.125");
    samples[1].clock = QStringLiteral("10:01:03");
    samples[1].speed = QStringLiteral("45.5");
    samples[1].gX = QStringLiteral("0.135");
    samples[2].clock = QStringLiteral("23:59:59");
    // Past midnight the seconds count on.
    samples[3].clock = QStringLiteral("00:00:01");
    giveDocument(kRecording, samples);

    clickCheck(1);

    const std::shared_ptr<clsDot> t = track(1);
    ASSERT_NE(t, nullptr);
    struct Expected {
        int index;
        int speed;
        int second;
        const char* time;
        double gX;
    };
    const Expected expected[] = {{1, 44, 0, "00:00", 0.12},
                                 {2, 46, 65, "01:05", 0.14},
                                 {3, 50, 50401, "840:01", 0.0},
                                 {4, 50, 50403, "840:03", 0.0}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.index);
        t->lPlayLocal = e.index;
        EXPECT_EQ(t->dSpeed(), e.speed);
        EXPECT_EQ(t->lSecond(), e.second);
        EXPECT_EQ(t->strTime(), QString::fromLatin1(e.time));
        EXPECT_DOUBLE_EQ(t->dG_x(), e.gX);
    }
    t->lPlayLocal = 2;
    EXPECT_EQ(t->strDate(), QStringLiteral("2012/10/5 10:01:03"));
}

TEST_F(TrackLoaderTest, FailuresAreReportedAndLeaveNoTrack) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString message;
        bool rowRemains;
        bool toolKilled;
    };
    const Case cases[] = {
        {"the tool cannot be started", [this] { m_platform.processes.setStartFails(true); },
         QStringLiteral("System file is missing, please re-install the systemerror:"), true, false},
        {"the tool never writes its document", [] {},
         QFileInfo(kRecording).fileName() +
             QStringLiteral("\nRead Data Time Out. Action Canceled!"),
         false, true},
        {"a damaged document", [this] { m_documents.insert(kRecording, "<versionx><gpsinfo>"); },
         QStringLiteral("Drawing the maps fails, make sure the computer is properly connected "
                        "to the network"),
         true, false},
        {"a position that is no number",
         [this] {
             QList<Sample> samples = drive(3);
             samples[1].longitude = QStringLiteral("1');alert(1);('");
             giveDocument(kRecording, samples);
         },
         QStringLiteral("Drawing the maps fails, make sure the computer is properly connected "
                        "to the network"),
         true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_app.reset();
        m_documents.clear();
        m_toolsAnswered = 0;
        m_platform.processes.setStartFails(false);
        startViewer();
        addRecordings({kRecording});
        c.arrange();
        const int startsBefore = static_cast<int>(m_platform.processes.started().size());

        clickCheck(1);

        ASSERT_EQ(m_platform.messageBoxes.shown().size(), 1)
            << messageTexts().join('\n').toStdString();
        const auto& box = m_platform.messageBoxes.shown().first();
        EXPECT_EQ(box.icon, MessageBoxService::Icon::Critical);
        EXPECT_EQ(box.title, kWarningTitle);
        EXPECT_TRUE(box.text.startsWith(c.message)) << box.text.toStdString();
        EXPECT_EQ(track(1), nullptr);
        EXPECT_EQ(row(1) != nullptr, c.rowRemains);
        // Nothing but the "Over" of nothing reaches the page, and no script from the file.
        for (const QString& script : scripts()) {
            EXPECT_FALSE(script.contains(QStringLiteral("alert"))) << script.toStdString();
        }
        const auto& started = m_platform.processes.started();
        if (started.size() > startsBefore && started.last().state) {
            EXPECT_EQ(started.last().state->killed, c.toolKilled);
        }
        EXPECT_FALSE(app().isLoaded<frmSendData>());
    }
}

TEST_F(TrackLoaderTest, AToolThatEndsWithoutADocumentEndsTheWaitAtOnce) {
    startViewer();
    addRecordings({kRecording});
    m_platform.waits.setOnSleep([this](int) {
        for (const auto& run : m_platform.processes.started()) {
            if (run.state) {
                run.state->running = false;
            }
        }
    });
    clickCheck(1);
    EXPECT_LT(m_platform.waits.sleeps().count(100), 5);
    EXPECT_EQ(row(1), nullptr);
}

TEST_F(TrackLoaderTest, ARecordingWithoutFixesGetsAnEmptyTrackAndOnlyTheEnd) {
    startViewer();
    addRecordings({kRecording});
    giveDocument(kRecording, {});
    clickCheck(1);
    ASSERT_NE(track(1), nullptr);
    EXPECT_EQ(track(1)->lDotCount(), 0);
    EXPECT_EQ(batches(), QStringList{QStringLiteral("Over")});
    EXPECT_EQ(row(1)->text(frmMP4List::kLoaded), QStringLiteral("1"));
}

TEST_F(TrackLoaderTest, AStoredTrackIsSentAgainInBatchesOfTen) {
    startViewer();
    addRecordings({kRecording});
    giveDocument(kRecording, drive(25));
    clickCheck(1);
    browser()->clearScripts();

    frmSendData* loader = windows().load<frmSendData>();
    ASSERT_NE(loader, nullptr);
    loader->SendGPSToMap(1);
    const QStringList sent = batches();
    ASSERT_EQ(sent.size(), 4);
    EXPECT_TRUE(sent[0].startsWith(QStringLiteral("001121.500000!")));
    EXPECT_EQ((QList<int>{pointsIn(sent[0]), pointsIn(sent[1]), pointsIn(sent[2])}),
              (QList<int>{10, 10, 5}));
    EXPECT_EQ(sent[3], QStringLiteral("Over"));
    EXPECT_EQ(track(1)->lPlayLocal, 25);

    browser()->clearScripts();
    loader->SendGPSToMap(7);
    EXPECT_TRUE(scripts().isEmpty());
    // Sending from a stored track never runs the tool again.
    EXPECT_EQ(m_platform.processes.started().size(), 1);
}

TEST_F(TrackLoaderTest, WithoutTheMapNothingIsSentButTheTrackIsKept) {
    startViewer(false);
    m_platform.messageBoxes.queueAnswer(MessageBoxService::Answer::Yes);
    addRecordings({kRecording});
    giveDocument(kRecording, drive(12));
    clickCheck(1);
    EXPECT_TRUE(batches().isEmpty());
    ASSERT_NE(track(1), nullptr);
    EXPECT_EQ(track(1)->lDotCount(), 12);
}

TEST_F(TrackLoaderTest, GroupLoadReadsEveryTickedRowAndDropsTheOnesThatTimedOut) {
    startViewer();
    const QStringList files{QStringLiteral("/card/20100506/100000.MP4"),
                            QStringLiteral("/card/20100506/110000.MP4"),
                            QStringLiteral("/card/20100506/120000.MP4")};
    addRecordings(files);
    giveDocument(files[0], drive(3));
    giveDocument(files[2], drive(5));
    ASSERT_TRUE(skinOf(&list())->click(QStringLiteral("ALL")));

    EXPECT_EQ(m_platform.processes.started().size(), 3);
    EXPECT_EQ(list().serials(), (QList<int>{1, 3}));
    EXPECT_EQ(track(1)->lDotCount(), 3);
    EXPECT_EQ(track(3)->lDotCount(), 5);
    ASSERT_EQ(m_platform.messageBoxes.shown().size(), 1);
    EXPECT_TRUE(
        m_platform.messageBoxes.shown().first().text.startsWith(QStringLiteral("110000.MP4\n")));
    // The stripes follow the rows that are left.
    EXPECT_EQ(row(3)->background(frmMP4List::kDisplay).color(), QColor(106, 107, 137));
}

}  // namespace
