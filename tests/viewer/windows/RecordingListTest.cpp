#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTreeWidgetItem>
#include <QUrl>

#include "LoaderFixture.h"
#include "app/ViewerWindows.h"
#include "frame/frmMain.h"
#include "list/RecordingName.h"
#include "list/frmMP4List.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"
#include "services/HandOverFile.h"
#include "services/TrackTable.h"
#include "services/clsDot.h"

namespace {

TEST(RecordingName, DateTimeAndKindFromTheFoldersAndFilesName) {
    struct Case {
        const char* path;
        const char* dateTime;
        bool lock;
    };
    const Case cases[] = {
        {"/card/20100506/120000.MP4", "2010/05/06  12:00:00", false},
        {"/card/20100506/120000AP.MP4", "2010/05/06  12:00:00", true},
        {"/card/20100506_A/120000.mp4", "2010/05/06  12:00:00", false},
        // Other cameras: the first day and clock digit groups of the names.
        {"/card/DCIM/Movie/20170708_221449_N.MP4", "2017/07/08  22:14:49", false},
        {"/card/DCIM/Movie/20170708_221449_P.MP4", "2017/07/08  22:14:49", true},
        {"/card/DCIM/100GOPRO/GH010123.MP4", "100GOPRO    01:01:23", false},
        {"/card/Normal/drive.mp4", "Normal      drive", false},
        // Masks apply to eight and six digits whatever they read as.
        {"/card/99999999/999999.MP4", "9999/99/99  99:99:99", false},
    };
    for (const Case& c : cases) {
        const RecordingName name(QString::fromUtf8(c.path));
        EXPECT_EQ(name.dateTimeText(), QString::fromUtf8(c.dateTime).leftJustified(20, u' '))
            << c.path;
        EXPECT_EQ(name.isLock(), c.lock) << c.path;
    }
}

class RecordingListTest : public LoaderFixture {
  protected:
    QStringList column(int column) {
        QStringList texts;
        for (int i = 0; i < list().LstMP4().topLevelItemCount(); ++i) {
            texts << list().LstMP4().topLevelItem(i)->text(column);
        }
        return texts;
    }
    // Ticked rows, drawn or not, by serial.
    QList<int> ticked() {
        QList<int> serials;
        for (const int serial : list().serials()) {
            if (list().isChecked(serial)) {
                serials << serial;
            }
        }
        return serials;
    }
    void storeTrack(int serial) {
        auto track = std::make_shared<clsDot>();
        track->lSerial = serial;
        app().tracks().add(TrackTable::keyFor(serial), track);
        list().setLoaded(serial);
    }
};

TEST_F(RecordingListTest, AddedRecordingsGetTheirRowsAndSerialsKeepGrowing) {
    startViewer();
    addRecordings({QStringLiteral("/card/20100506/120000.MP4"),
                   QStringLiteral("/card/20100506/120000AP.MP4")});
    ASSERT_EQ(m_platform.fileDialogs.requests().size(), 1);
    EXPECT_EQ(m_platform.fileDialogs.requests().first().title, QStringLiteral("Open Media files"));
    EXPECT_EQ(m_platform.fileDialogs.requests().first().filter, QStringLiteral("MP4 file|*.MP4"));
    EXPECT_EQ(column(frmMP4List::kRowNumber), (QStringList{"1", "2"}));
    // At 15 twips per pixel the labels carry two blanks.
    EXPECT_EQ(column(frmMP4List::kDisplay),
              (QStringList{"2010/05/06  12:00:00    Normal", "2010/05/06  12:00:00    Lock"}));
    EXPECT_EQ(column(frmMP4List::kSerial), (QStringList{"1", "2"}));
    EXPECT_EQ(column(frmMP4List::kLabel), (QStringList{"  Normal", "  Lock"}));
    EXPECT_EQ(column(frmMP4List::kLoaded), (QStringList{"0", "0"}));
    EXPECT_EQ(row(1)->background(frmMP4List::kDisplay).color(), QColor(130, 131, 170));
    EXPECT_EQ(row(2)->background(frmMP4List::kDisplay).color(), QColor(106, 107, 137));
    EXPECT_EQ(row(1)->foreground(frmMP4List::kDisplay).color(), QColor(255, 255, 255));
    EXPECT_EQ(row(2)->foreground(frmMP4List::kDisplay).color(), QColor(255, 0, 0));

    m_platform.messageBoxes.queueAnswer(MessageBoxService::Answer::Yes);
    list().DeleteList();
    EXPECT_EQ(list().LstMP4().topLevelItemCount(), 0);
    addRecordings({QStringLiteral("/card/20100506/130000.MP4")});
    EXPECT_EQ(column(frmMP4List::kRowNumber), QStringList{"1"});
    EXPECT_EQ(column(frmMP4List::kSerial), QStringList{"3"});
}

TEST_F(RecordingListTest, WithoutTheMapTheUserIsAskedFirst) {
    startViewer(false);
    m_platform.messageBoxes.queueAnswer(MessageBoxService::Answer::No);
    addRecordings({QStringLiteral("/card/20100506/120000.MP4")});
    EXPECT_EQ(list().LstMP4().topLevelItemCount(), 0);
    EXPECT_TRUE(m_platform.fileDialogs.requests().isEmpty());
    ASSERT_EQ(m_platform.messageBoxes.shown().size(), 1);
    EXPECT_EQ(m_platform.messageBoxes.shown().first().buttons, MessageBoxService::Buttons::YesNo);
    EXPECT_TRUE(m_platform.messageBoxes.shown().first().text.startsWith(
        QStringLiteral("Map data has not been successfully loaded")));
}

TEST_F(RecordingListTest, UntickingTakesTheRouteOffTheMapAndTickingDrawsItAgain) {
    startViewer();
    addRecordings({QStringLiteral("/card/20100506/120000.MP4")});
    storeTrack(1);
    list().setOnMap(1, true);

    clickCheck(1);  // ticked: drawn already, nothing to do
    clickCheck(1);  // unticked
    EXPECT_EQ(scripts(), QStringList{QStringLiteral("clearHistroy('001')")});
    EXPECT_EQ(row(1)->text(frmMP4List::kOnMap), QStringLiteral("0"));

    browser()->clearScripts();
    clickCheck(1);
    EXPECT_EQ(batches(), (QStringList{QStringLiteral("001"), QStringLiteral("Over")}));
    EXPECT_EQ(row(1)->text(frmMP4List::kOnMap), QStringLiteral("1"));
    EXPECT_TRUE(m_platform.processes.started().isEmpty());
}

TEST_F(RecordingListTest, ThePlayingRowCannotBeUnticked) {
    startViewer();
    addRecordings({QStringLiteral("/card/20100506/120000.MP4")});
    storeTrack(1);
    clickCheck(1);
    list().setPlayingSerial(1);
    mtWmp()->setUrl(QStringLiteral("/card/20100506/120000.MP4"));
    mtWmp()->play();
    mtWmp()->pause();

    clickCheck(1);
    EXPECT_EQ(messageTexts(),
              QStringList{QStringLiteral(
                  "The project is playing, can not be marked as non-playing items!")});
    EXPECT_TRUE(list().isChecked(1));

    // Nor can the list be cleared.
    m_platform.messageBoxes.clear();
    list().DeleteList();
    EXPECT_EQ(messageTexts(),
              QStringList{QStringLiteral("Play or pause state, the system does not allow to delete "
                                         "the document!")});
    EXPECT_EQ(list().LstMP4().topLevelItemCount(), 1);
}

TEST_F(RecordingListTest, FiltersTickWhatTheyNameAndTakeTheRestOffTheMap) {
    startViewer();
    addRecordings({QStringLiteral("/card/20100506/100000.MP4"),
                   QStringLiteral("/card/20100506/110000AP.MP4"),
                   QStringLiteral("/card/20100506/120000.MP4")});
    for (const int serial : {1, 2, 3}) {
        storeTrack(serial);
    }
    FakeSkinHost* skin = skinOf(&list());
    ASSERT_NE(skin, nullptr);
    struct Step {
        const char* button;
        QList<int> ticked;
        QStringList cleared;
    };
    const Step steps[] = {
        {"ALL", {1, 2, 3}, {}},
        {"NORMAL", {1, 3}, {"clearHistroy('002')"}},
        {"LOCK", {2}, {"clearHistroy('001')", "clearHistroy('003')"}},
        // Before any playback there is no current track: every row goes.
        {"NONE", {}, {"clearHistroy('001')", "clearHistroy('002')", "clearHistroy('003')"}},
        {"ALL", {1, 2, 3}, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        browser()->clearScripts();
        ASSERT_TRUE(skin->click(QString::fromLatin1(step.button)));
        EXPECT_EQ(ticked(), step.ticked);
        QStringList cleared;
        for (const QString& script : scripts()) {
            if (script.startsWith(QStringLiteral("clearHistroy"))) {
                cleared << script;
            }
        }
        EXPECT_EQ(cleared, step.cleared);
        for (const int serial : list().serials()) {
            EXPECT_EQ(list().isOnMap(serial), step.ticked.contains(serial)) << serial;
        }
    }
    // NONE keeps the row of the track being played.
    app().setCurrentTrack(app().tracks().find(TrackTable::keyFor(3)));
    ASSERT_TRUE(skin->click(QStringLiteral("NONE")));
    EXPECT_EQ(ticked(), QList<int>{3});
}

TEST_F(RecordingListTest, ClearingAsksAndTakesTheRoutesAndTracksAlong) {
    startViewer();
    addRecordings(
        {QStringLiteral("/card/20100506/100000.MP4"), QStringLiteral("/card/20100506/110000.MP4")});
    storeTrack(1);
    clickCheck(1);
    browser()->clearScripts();

    m_platform.messageBoxes.queueAnswer(MessageBoxService::Answer::No);
    list().DeleteList();
    EXPECT_EQ(list().LstMP4().topLevelItemCount(), 2);
    const auto& question = m_platform.messageBoxes.shown().last();
    EXPECT_EQ(question.icon, MessageBoxService::Icon::Question);
    EXPECT_EQ(question.title, QStringLiteral("The system confirm message"));

    m_platform.messageBoxes.queueAnswer(MessageBoxService::Answer::Yes);
    list().DeleteList();
    EXPECT_EQ(list().LstMP4().topLevelItemCount(), 0);
    EXPECT_EQ(scripts(), QStringList{QStringLiteral("clearHistroy('001')")});
    EXPECT_EQ(app().tracks().size(), 0);
}

TEST_F(RecordingListTest, ThePlayingRowIsYellowAndBoldWhateverItsKind) {
    startViewer();
    addRecordings({QStringLiteral("/card/20100506/100000.MP4"),
                   QStringLiteral("/card/20100506/110000AP.MP4")});
    struct Case {
        int playing;
        QColor first;
        QColor second;
    };
    const Case cases[] = {{2, Qt::white, QColor(255, 255, 0)},
                          {1, QColor(255, 255, 0), Qt::red},
                          {0, Qt::white, Qt::red},
                          {9, Qt::white, Qt::red}};
    for (const Case& c : cases) {
        list().MarkPlayingItem(c.playing);
        EXPECT_EQ(row(1)->foreground(frmMP4List::kDisplay).color(), c.first) << c.playing;
        EXPECT_EQ(row(2)->foreground(frmMP4List::kDisplay).color(), c.second) << c.playing;
        EXPECT_EQ(row(1)->font(frmMP4List::kDisplay).bold(), c.playing == 1);
        EXPECT_EQ(row(2)->font(frmMP4List::kDisplay).bold(), c.playing == 2);
    }
}

TEST_F(RecordingListTest, RecordingsDroppedOnTheFrameJoinTheList) {
    startViewer();
    const QString folder = m_home.root() + QStringLiteral("/20100506");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : {"120000.MP4", "130000.mp4", "notes.txt"}) {
        QFile file(folder + u'/' + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder + QStringLiteral("/120000.MP4")),
                  QUrl::fromLocalFile(folder + QStringLiteral("/130000.mp4")),
                  QUrl::fromLocalFile(folder + QStringLiteral("/notes.txt")),
                  QUrl::fromLocalFile(folder + QStringLiteral("/gone.MP4"))});
    frmMain& frame = app().window<frmMain>();
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&frame, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&frame, &drop);

    EXPECT_EQ(column(frmMP4List::kPath), (QStringList{folder + QStringLiteral("/120000.MP4"),
                                                      folder + QStringLiteral("/130000.mp4")}));
}

TEST_F(RecordingListTest, RecordingsTheProgramWasStartedWithWaitForTheMap) {
    startViewer(false);
    const QString a = m_home.root() + QStringLiteral("/120000.MP4");
    const QString b = m_home.root() + QStringLiteral("/130000.mp4");
    for (const QString& path : {a, b}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    auto* root = dynamic_cast<ViewerWindows*>(app().startupWindows());
    ASSERT_NE(root, nullptr);
    root->openRecordings({a, b});
    EXPECT_EQ(list().LstMP4().topLevelItemCount(), 0);

    giveDocument(a, drive(3));
    giveDocument(b, drive(4));
    loadMapPage();
    QCoreApplication::processEvents();
    EXPECT_EQ(column(frmMP4List::kPath), (QStringList{a, b}));
    // Ticked and drawn at once.
    EXPECT_EQ(ticked(), (QList<int>{1, 2}));
    EXPECT_EQ(batches().count(QStringLiteral("Over")), 2);
    // Nobody was asked about a map that was about to come.
    EXPECT_TRUE(m_platform.messageBoxes.shown().isEmpty());
}

class HandOverTest : public RecordingListTest {
  protected:
    QString file() const {
        return m_home.configHome() + QStringLiteral("/harventis-dvr-tools/flow.xml");
    }
    void writeHandOver(const QByteArray& text) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file()).absolutePath()));
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }
};

TEST_F(HandOverTest, TheListComesBackAfterARestartAndTheFileGoes) {
    const QString odd = QStringLiteral("/card/a & b <c>/20100506/120000AP.MP4");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file()).absolutePath()));
    ASSERT_TRUE(HandOverFile::save(file(), {{QStringLiteral("2010/05/06  12:00:00 and more"),
                                             QStringLiteral("/card/20100506/120000.MP4")},
                                            {QStringLiteral("2010/05/06  12:00:00"), odd}}));
    startViewer();
    EXPECT_EQ(column(frmMP4List::kPath), (QStringList{"/card/20100506/120000.MP4", odd}));
    EXPECT_EQ(column(frmMP4List::kDisplay),
              (QStringList{"2010/05/06  12:00:00    Normal", "2010/05/06  12:00:00    Lock"}));
    EXPECT_EQ(column(frmMP4List::kRowNumber), (QStringList{"1", "2"}));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(HandOverTest, TheListSavedBeforeARestartIsTheListAfterIt) {
    startViewer();
    const QStringList files{QStringLiteral("/card/a & b <c>/20100506/120000.MP4"),
                            QStringLiteral("/card/20100506/130000AP.MP4")};
    addRecordings(files);
    list().saveHandOver();
    ASSERT_TRUE(QFile::exists(file()));

    m_app.reset();
    startViewer();
    EXPECT_EQ(column(frmMP4List::kPath), files);
    EXPECT_EQ(column(frmMP4List::kDisplay),
              (QStringList{"2010/05/06  12:00:00    Normal", "2010/05/06  13:00:00    Lock"}));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(HandOverTest, AListWithoutRowsStaysAndADamagedOneIsPutAside) {
    struct Case {
        const char* what;
        QByteArray text;
        bool message;
        bool stays;
    };
    const Case cases[] = {
        {"no rows", "<?xml version='1.0'?>\n<mp4list>\n</mp4list>", false, true},
        {"not XML", "this is no list", true, false},
        {"a row without its path", "<mp4list><Data><x2>2010/05/06</x2></Data></mp4list>", true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_app.reset();
        QFile::remove(file() + QStringLiteral(".damaged"));
        writeHandOver(c.text);
        m_platform.messageBoxes.clear();
        declareSkins(1);
        writeFile(QStringLiteral("system/bk.MP4"));
        ASSERT_TRUE(start());
        EXPECT_EQ(list().LstMP4().topLevelItemCount(), 0);
        EXPECT_EQ(!m_platform.messageBoxes.shown().isEmpty(), c.message)
            << messageTexts().join('\n').toStdString();
        EXPECT_EQ(QFile::exists(file()), c.stays);
        EXPECT_EQ(QFile::exists(file() + QStringLiteral(".damaged")), c.message);
        // The list window loaded all the same.
        EXPECT_TRUE(list().isVisible());
    }
}

}  // namespace
