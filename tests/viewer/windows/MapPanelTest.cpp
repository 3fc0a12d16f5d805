#include <QDir>
#include <QFile>
#include <QTest>
#include <QTreeWidgetItem>

#include "LoaderFixture.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "playback/frmChild.h"
#include "services/MapPage.h"
#include "services/TrackTable.h"
#include "services/clsDot.h"

namespace {

// Two recordings drawn on the map: the first along a diagonal from (25.0, 121.5), the second
// the same road shifted north by 0.1°, except where a test makes them overlap.
class MapPanelTest : public LoaderFixture {
  protected:
    void SetUp() override {
        startViewer();
        const QString folder = m_home.root() + QStringLiteral("/20100506");
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const char* name : {"100000.MP4", "110000.MP4"}) {
            const QString path = folder + u'/' + QString::fromLatin1(name);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            m_files << path;
        }
        QList<Sample> north = drive(10);
        for (Sample& s : north) {
            s.latitude = QString::number(s.latitude.toDouble() + 0.1, 'f', 6);
        }
        giveDocument(m_files[0], drive(10));
        giveDocument(m_files[1], north);
        addRecordings(m_files);
        clickCheck(1);
        clickCheck(2);
        ASSERT_EQ(app().tracks().size(), 2);
        m_platform.messageBoxes.clear();
        mtWmp()->clearCalls();
    }

    // The page takes a click "(lat, lon)" and the panel's next poll finds it.
    void clickOnMap(const QString& click) {
        browser()->setPageValue(MapPage::kTakenClickVariable, click);
        panel().tGetMapLocal().start(1);
        QTest::qWait(50);
        browser()->setPageValue(MapPage::kTakenClickVariable, QString());
        panel().tGetMapLocal().start(frmMediaCtrl::kGetMapLocalMilliseconds);
    }
    frmMediaCtrl& panel() { return app().window<frmMediaCtrl>(); }

    QStringList m_files;
};

TEST_F(MapPanelTest, AClickOnARouteStartsItsRecordingThere) {
    EXPECT_TRUE(panel().tGetMapLocal().isActive());
    clickOnMap(QStringLiteral("(25.10025, 121.50025)"));

    // Point 3 of the second recording: its second 2.
    EXPECT_EQ(mtWmp()->url(), m_files[1]);
    EXPECT_EQ(mtWmp()->playState(), MediaPlayer::kPlaying);
    EXPECT_DOUBLE_EQ(mtWmp()->currentPosition(), 2.0);
    EXPECT_TRUE(app().window<frmChild>().tPlayTime().isActive());
    EXPECT_EQ(list().playingSerial(), 2);
    EXPECT_EQ(app().currentTrack(), app().tracks().find(TrackTable::keyFor(2)));
    EXPECT_EQ(app().currentTrack()->lPlayLocal, 3);
    EXPECT_EQ(row(2)->foreground(frmMP4List::kDisplay).color(), QColor(255, 255, 0));

    // Within the recording that plays, only the position moves.
    mtWmp()->clearCalls();
    clickOnMap(QStringLiteral("(25.10065, 121.50065)"));
    EXPECT_FALSE(mtWmp()->calls().contains(QStringLiteral("url=") + m_files[1]));
    EXPECT_DOUBLE_EQ(mtWmp()->currentPosition(), 6.0);
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(MapPanelTest, ClicksThatHitNothingOrNothingDrawnChangeNothing) {
    for (const char* click : {"(10.0, 10.0)", "()", "(1", ""}) {
        clickOnMap(QString::fromLatin1(click));
    }
    // A route taken off the map is not hit either.
    clickCheck(1);
    clickOnMap(QStringLiteral("(25.00025, 121.50025)"));
    EXPECT_TRUE(mtWmp()->calls().isEmpty());
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

TEST_F(MapPanelTest, WhereRoutesOverlapTheOneReadFirstWins) {
    clickOnMap(QStringLiteral("(25.00025, 121.50025)"));
    EXPECT_EQ(mtWmp()->url(), m_files[0]);
    EXPECT_EQ(list().playingSerial(), 1);
}

TEST_F(MapPanelTest, ARecordingThatHasGoneIsMarkedAndThePlayerLeftAlone) {
    ASSERT_TRUE(QFile::remove(m_files[1]));
    clickOnMap(QStringLiteral("(25.10025, 121.50025)"));
    EXPECT_TRUE(mtWmp()->calls().isEmpty());
    EXPECT_FALSE(list().isChecked(2));
    EXPECT_EQ(row(2)->text(frmMP4List::kMissing), QStringLiteral("1"));
}

TEST_F(MapPanelTest, AClickThatCannotBeReadIsReported) {
    clickOnMap(QStringLiteral("(north, east)"));
    ASSERT_FALSE(messageTexts().isEmpty());
    for (const QString& text : messageTexts()) {
        EXPECT_TRUE(text.startsWith(QStringLiteral("Failed to obtain the cursor position")))
            << text.toStdString();
    }
    EXPECT_TRUE(mtWmp()->calls().isEmpty());

    // A page that keeps no clicks is reported once, and no longer asked.
    m_platform.messageBoxes.clear();
    browser()->removePageValue(MapPage::kTakenClickVariable);
    panel().tGetMapLocal().start(1);
    QTest::qWait(50);
    EXPECT_EQ(messageTexts().size(), 1);
    EXPECT_FALSE(panel().tGetMapLocal().isActive());
}

}  // namespace
