#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "ViewerHarness.h"
#include "about/frmTip.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/MediaPlayer.h"
#include "playback/frmChild.h"

namespace {

// A straight drive of count seconds from (latitude, longitude), both changing every second.
QString route(double latitude, double longitude, int count) {
    QString text = QStringLiteral("start 2020-01-01T12:00:00Z\n");
    for (int i = 0; i < count; ++i) {
        text += QStringLiteral("A %1 %2 36.0 45.0 0.00 0.00 1.00\n")
                    .arg(latitude + i * 0.0002, 0, 'f', 6)
                    .arg(longitude + i * 0.0003, 0, 'f', 6);
    }
    return text;
}

// The viewer with its map page up and recordings of two drives in a camera's day folder.
class RoutesE2eTest : public ::testing::Test {
  protected:
    static constexpr int kSeconds = 20;

    void SetUp() override {
        const QString day = m_folder.filePath(QStringLiteral("20200101"));
        ASSERT_TRUE(QDir().mkpath(day));
        m_files = {ViewerHarness::makeRecording(day + QStringLiteral("/120000.MP4"),
                                                QStringLiteral("novatek-a119"),
                                                route(24.0, 121.0, kSeconds)),
                   ViewerHarness::makeRecording(day + QStringLiteral("/120500AP.MP4"),
                                                QStringLiteral("nmea-text"),
                                                route(24.01, 121.01, kSeconds))};
        ASSERT_FALSE(m_files.contains(QString())) << "make-recording could not make a recording";
        m_viewer = std::make_unique<ViewerHarness>();
        ASSERT_TRUE(m_viewer->startWithMap());
    }

    frmMP4List& list() { return m_viewer->app().window<frmMP4List>(); }
    int rows() { return list().LstMP4().topLevelItemCount(); }
    // Adds recordings through the frame's "open" button and the file dialog.
    void open(const QStringList& files) {
        m_viewer->fileDialogs().queueOpen(files);
        ASSERT_TRUE(
            m_viewer->clickOnScreen(&m_viewer->app().window<frmMain>(), QStringLiteral("open")));
    }
    void tick(int row) { ASSERT_TRUE(m_viewer->tickRow(row)); }
    QString page(const QString& expression) { return m_viewer->page(expression); }

    QTemporaryDir m_folder;
    QStringList m_files;
    std::unique_ptr<ViewerHarness> m_viewer;
};

TEST_F(RoutesE2eTest, TickedRecordingsAreDrawnAndAClickOnARouteStartsIt) {
    open(m_files);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(list().LstMP4().topLevelItem(1)->text(frmMP4List::kDisplay),
              QStringLiteral("2020/01/01  12:05:00    Lock"));

    tick(0);
    tick(1);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return page("harvdvrPage.routeCount()") == "2"; }));
    EXPECT_EQ(page("harvdvrPage.serials()"), QStringLiteral("001,002"));
    EXPECT_EQ(page("harvdvrPage.drawnPointCount('001')"), QString::number(kSeconds));
    EXPECT_EQ(page("harvdvrPage.drawnPointCount('002')"), QString::number(kSeconds));
    EXPECT_TRUE(m_viewer->messageBoxes().shown().isEmpty());
    ViewerHarness::saveScreen(QStringLiteral("routes"));

    // A click on the second drive between its fifth and sixth points (seconds 4 and 5).
    // Dispatched in the page as the user's click arrives there.
    const QString click =
        page(QStringLiteral(
                 "(function () {"
                 " var at = harvdvrPage.screenPoint(%1, %2).split(',');"
                 " var box = harvdvrPage.map.getContainer().getBoundingClientRect();"
                 " var x = box.left + Number(at[0]), y = box.top + Number(at[1]);"
                 " var target = document.elementFromPoint(x, y) || harvdvrPage.map.getContainer();"
                 " target.dispatchEvent(new MouseEvent('click', {clientX: x, clientY: y,"
                 "   bubbles: true, cancelable: true, view: window, button: 0}));"
                 " return varLocal; })()")
                 .arg(24.01 + 4.5 * 0.0002, 0, 'f', 7)
                 .arg(121.01 + 4.5 * 0.0003, 0, 'f', 7));
    EXPECT_TRUE(click.startsWith(u'(')) << click.toStdString();
    MediaPlayer& player = m_viewer->app().window<frmChild>().mtWmp();
    ASSERT_TRUE(ViewerHarness::waitUntil(
        [&] { return player.url() == m_files[1] && player.playState() == MediaPlayer::kPlaying; }));
    EXPECT_NEAR(player.currentPosition(), 4.0, 1.5);
    EXPECT_EQ(list().playingSerial(), 2);
}

TEST_F(RoutesE2eTest, ARecordingWhoseTrackCannotBeReadLeavesTheList) {
    const QString broken = m_folder.filePath(QStringLiteral("20200101/130000.MP4"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("no movie here");
    file.close();
    open({m_files[0], broken});
    ASSERT_EQ(rows(), 2);

    tick(1);
    ASSERT_TRUE(ViewerHarness::waitUntil([&] { return rows() == 1; }));
    ASSERT_EQ(m_viewer->messageBoxes().shown().size(), 1);
    EXPECT_EQ(m_viewer->messageBoxes().shown().first().text,
              QStringLiteral("130000.MP4\nRead Data Time Out. Action Canceled!"));
    EXPECT_EQ(list().LstMP4().topLevelItem(0)->text(frmMP4List::kPath), m_files[0]);
    EXPECT_EQ(page("harvdvrPage.routeCount()"), QStringLiteral("0"));
}

}  // namespace
