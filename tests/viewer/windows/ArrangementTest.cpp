#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeWidgetItem>

#include "WindowTest.h"
#include "about/frmTip.h"
#include "app/StateProbe.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeSkinHost.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "shell/WindowGeometry.h"

namespace {

const QString kWarningTitle = QStringLiteral("The system warning information ");
const QString kSystemFileMissing =
    QStringLiteral("System file is missing, please re-install the system");

// Notes how many pages the browser had been given when the frame was first shown.
class FirstShowProbe : public QObject {
  public:
    FirstShowProbe(QWidget* frame, std::function<void()> onShow) : m_onShow(std::move(onShow)) {
        frame->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !m_seen) {
            m_seen = true;
            m_onShow();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> m_onShow;
    bool m_seen = false;
};

using ArrangementTest = WindowTest;

TEST_F(ArrangementTest, EveryWindowSitsInItsBand) {
    declareSkins(1);
    writeFile(QStringLiteral("system/bk.MP4"));
    ASSERT_TRUE(start());
    EXPECT_EQ(messageTexts(), QStringList());

    auto& frame = app().window<frmMain>();
    auto& video = app().window<frmChild>();
    auto& panel = app().window<frmMediaCtrl>();
    auto& controlBar = app().window<frmCurve>();
    auto& list = app().window<frmMP4List>();

    EXPECT_EQ(video.parentWidget(), &frame);
    EXPECT_EQ(video.geometry(), kClient);
    EXPECT_EQ(panel.parentWidget(), &frame);
    EXPECT_EQ(panel.geometry(), kControlBand);
    EXPECT_EQ(panel.width(), WindowGeometry::kControlBandExtent);

    // The control bar: the video window's bottom 209 pixels; the picture above it.
    EXPECT_EQ(controlBar.parentWidget(), &video.mediaControlBand());
    EXPECT_EQ(video.mediaControlBand().geometry(), QRect(0, 643 - 209, 771, 209));
    EXPECT_EQ(controlBar.geometry(), QRect(0, 0, 771, 209));
    EXPECT_EQ(video.picBack().geometry(), QRect(0, 0, 771, 643 - 209));
    EXPECT_EQ(controlBar.chartArea().geometry(), kChartArea);

    // The list: the map panel's bottom 370 pixels, its list view in the skin's area.
    EXPECT_EQ(list.parentWidget(), &panel.myListBand());
    EXPECT_EQ(panel.myListBand().geometry(), kMyListArea);
    EXPECT_EQ(list.geometry(), QRect(QPoint(0, 0), kMyListArea.size()));
    EXPECT_EQ(list.LstMP4().geometry(), kListArea);
    EXPECT_EQ(list.LstMP4().columnCount(), frmMP4List::kColumnCount);

    for (QWidget* w : {static_cast<QWidget*>(&video), static_cast<QWidget*>(&panel),
                       static_cast<QWidget*>(&controlBar), static_cast<QWidget*>(&list)}) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    }
    // Each skinned window got its own skin.
    EXPECT_EQ(skinOf(&controlBar)->loadedPath(),
              programPath(QStringLiteral("skin/control/MediaControl1.mp4")));
    EXPECT_EQ(skinOf(&list)->loadedPath(), programPath(QStringLiteral("skin/media/ls1.MP4")));
    EXPECT_EQ(skinOf(&panel)->loadedPath(), programPath(QStringLiteral("skin/media/ctl.MP4")));
}

TEST_F(ArrangementTest, MapPageIsGivenBeforeTheFrameIsFirstShownAndShownOnceLoaded) {
    declareSkins(1);
    QStringList loadsAtFirstShow{QStringLiteral("<frame never shown>")};
    int readyAtFirstShow = -1;
    std::unique_ptr<FirstShowProbe> probe;
    m_services.makeSkinHost = [this, &probe, &loadsAtFirstShow,
                               &readyAtFirstShow]() -> std::unique_ptr<SkinHost> {
        // The frame exists once the first docked window asks for it.
        if (!probe && m_app && m_app->isLoaded<frmMain>()) {
            probe = std::make_unique<FirstShowProbe>(&m_app->window<frmMain>(), [&] {
                loadsAtFirstShow = browser() != nullptr ? browser()->loads() : QStringList();
                readyAtFirstShow = browser() != nullptr ? browser()->readyFlag() : -1;
            });
        }
        return m_platform.services().makeSkinHost();
    };
    ASSERT_TRUE(start());

    EXPECT_EQ(loadsAtFirstShow,
              QStringList{QStringLiteral("harvdvr-map://app/harvdvr/DeskMap.asp?LangID=1028")});
    EXPECT_EQ(readyAtFirstShow, 0);
    auto& panel = app().window<frmMediaCtrl>();
    EXPECT_EQ(panel.mapReady(), 0);

    loadMapPage();
    EXPECT_EQ(panel.mapReady(), 1);
    // One page, one browser, for the whole run.
    EXPECT_EQ(m_platform.mapBrowsers().size(), 1);
}

TEST_F(ArrangementTest, APageThatFailedOrIsNotOursLeavesTheFlagDownAndSaysSo) {
    struct Case {
        const char* what;
        bool loaded;
        const char* getContentHis;
    };
    const Case cases[] = {{"the load failed", false, nullptr},
                          {"a page without the map's functions", true, nullptr},
                          {"a page whose getContentHis is no function", true, "42"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_app.reset();
        m_platform.messageBoxes.clear();
        declareSkins(1);
        writeFile(QStringLiteral("system/bk.MP4"));
        ASSERT_TRUE(start());
        if (c.getContentHis != nullptr) {
            browser()->setPageValue(QStringLiteral("getContentHis"),
                                    QString::fromLatin1(c.getContentHis));
        }
        browser()->finishLoad(c.loaded);
        EXPECT_EQ(app().window<frmMediaCtrl>().mapReady(), 0);
        EXPECT_FALSE(app().window<frmMediaCtrl>().tGetMapLocal().isActive());
        ASSERT_EQ(messageTexts().size(), 1);
        EXPECT_TRUE(
            messageTexts().first().startsWith(QStringLiteral("The map page could not be loaded")));
        // A page that keeps failing tells the user once.
        browser()->finishLoad(false);
        EXPECT_EQ(messageTexts().size(), 1);
    }
}

TEST_F(ArrangementTest, MissingSkinsOfDockedWindows) {
    struct Case {
        const char* missing;
        QStringList messages;
        bool controlBarLoaded;
        bool listLoaded;
        int pagesGiven;
    };
    const Case cases[] = {
        // The control bar unloads itself; the program goes on without it.
        {"skin/control/MediaControl1.mp4", {kSystemFileMissing}, false, true, 1},
        // The map panel goes on unskinned.
        {"skin/media/ctl.MP4",
         {QStringLiteral("System file is missing, the camera doesn't work!")},
         true,
         true,
         1},
        // The list's failure ends the map panel's Load before the page is asked for.
        {"skin/media/ls1.MP4",
         {QStringLiteral("Form_Load:") + kSystemFileMissing + programPath("skin/media/ls1.MP4") +
          QStringLiteral(": no such file")},
         true,
         true,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        m_app.reset();
        m_platform.messageBoxes.clear();
        FakeSkinHost::forgetSkins();
        declareSkins(1, {QString::fromLatin1(c.missing)});
        writeFile(QStringLiteral("system/bk.MP4"));
        const int browsersBefore = m_platform.mapBrowsers().size();

        ASSERT_TRUE(start());

        EXPECT_EQ(messageTexts(), c.messages);
        for (const auto& box : m_platform.messageBoxes.shown()) {
            EXPECT_EQ(box.icon, MessageBoxService::Icon::Critical);
            EXPECT_EQ(box.title, kWarningTitle);
        }
        EXPECT_TRUE(app().window<frmMain>().isVisible());
        EXPECT_EQ(app().isLoaded<frmCurve>(), c.controlBarLoaded);
        EXPECT_EQ(app().isLoaded<frmMP4List>(), c.listLoaded);
        auto* pageBrowser = m_platform.mapBrowsers().value(browsersBefore);
        ASSERT_NE(pageBrowser, nullptr);
        EXPECT_EQ(pageBrowser->loads().size(), c.pagesGiven);
        EXPECT_TRUE(m_ended.isEmpty());
    }
}

TEST_F(ArrangementTest, WindowsAreMadeOnceAndGoWithTheApplication) {
    declareSkins(1);
    ASSERT_TRUE(start());
    EXPECT_EQ(&app().window<frmChild>(), &app().window<frmChild>());
    EXPECT_EQ(m_platform.mediaPlayers().size(), 2);
    EXPECT_EQ(m_platform.mapBrowsers().size(), 1);
    EXPECT_EQ(m_platform.skinHosts().size(), 5);

    // Unloading the frame takes the windows it hosts with it, each exactly once.
    windows().unload<frmMain>();
    for (bool loaded :
         {app().isLoaded<frmMain>(), app().isLoaded<frmChild>(), app().isLoaded<frmCurve>(),
          app().isLoaded<frmMediaCtrl>(), app().isLoaded<frmMP4List>()}) {
        EXPECT_FALSE(loaded);
    }
    EXPECT_TRUE(app().isLoaded<frmTip>());
}

TEST_F(ArrangementTest, StateFileTellsLanguageRowsAndReadiness) {
    declareSkins(2);
    writeSettings("[config]\nmainv=1002\nArea=2021\nUnit=1003\n");
    const QString stateFile = m_home.root() + QStringLiteral("/state.json");
    m_home.set(StateProbe::kStateFileVariable, stateFile.toLocal8Bit());
    const auto readState = [&] {
        QFile file(stateFile);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).object();
    };

    ASSERT_TRUE(start());
    QJsonObject state = readState();
    EXPECT_EQ(state.value(QStringLiteral("languageCode")).toInt(), 1002);
    EXPECT_EQ(state.value(QStringLiteral("languageNumber")).toInt(), 2);
    EXPECT_EQ(state.value(QStringLiteral("unitCode")).toInt(), 1003);
    EXPECT_TRUE(state.value(QStringLiteral("frame")).toBool());
    EXPECT_EQ(state.value(QStringLiteral("ready")).toInt(), 0);
    EXPECT_EQ(state.value(QStringLiteral("rows")).toArray(), QJsonArray());
    EXPECT_EQ(state.value(QStringLiteral("pid")).toInteger(), QCoreApplication::applicationPid());

    auto* row = new QTreeWidgetItem(QStringList{"1", "", "2010/05/06  12:00:00    Normal",
                                                "/rec/120000.MP4", "0", "1", "0", "Normal", "0"});
    app().window<frmMP4List>().LstMP4().addTopLevelItem(row);
    loadMapPage();

    state = readState();
    EXPECT_EQ(state.value(QStringLiteral("ready")).toInt(), 1);
    const QJsonArray rows = state.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0).toArray().size(), frmMP4List::kColumnCount);
    EXPECT_EQ(rows.at(0).toArray().at(3).toString(), QStringLiteral("/rec/120000.MP4"));
}

TEST_F(ArrangementTest, WithoutTheSwitchNoStateIsWritten) {
    declareSkins(1);
    m_home.unset(StateProbe::kStateFileVariable);
    ASSERT_TRUE(start());
    loadMapPage();
    EXPECT_FALSE(QFile::exists(m_home.root() + QStringLiteral("/state.json")));
}

TEST(BandGeometry, BandsAndClientAreasShareTheContainer) {
    struct Case {
        Qt::Edge edge;
        int extent;
        QRect band;
        QRect client;
    };
    const QRect container(5, 60, 1019, 648);
    const Case cases[] = {
        {Qt::RightEdge, 248, QRect(776, 60, 248, 648), QRect(5, 60, 771, 648)},
        {Qt::BottomEdge, 209, QRect(5, 499, 1019, 209), QRect(5, 60, 1019, 439)},
        {Qt::LeftEdge, 100, QRect(5, 60, 100, 648), QRect(105, 60, 919, 648)},
        {Qt::TopEdge, 48, QRect(5, 60, 1019, 48), QRect(5, 108, 1019, 600)},
        // A band wider than its container takes all of it.
        {Qt::RightEdge, 5000, container, QRect(5, 60, 0, 648)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowGeometry::dockedBand(container, c.edge, c.extent), c.band) << c.extent;
        EXPECT_EQ(WindowGeometry::besideBand(container, c.edge, c.extent), c.client) << c.extent;
    }
}

}  // namespace
