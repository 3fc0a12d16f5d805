#include "WindowTest.h"

#include "app/ViewerWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include "platform/fake/FakeMapBrowser.h"
#include "platform/fake/FakeMediaPlayer.h"
#include "platform/fake/FakeSkinHost.h"
#include "services/MapPage.h"
#include "shell/Startup.h"
#include "shell/StringTable.h"

const QRect WindowTest::kClient(5, 60, 771, 643);
const QRect WindowTest::kControlBand(776, 60, 248, 648);
const QRect WindowTest::kMapArea(0, 0, 248, 278);
const QRect WindowTest::kMyListArea(0, 278, 248, 370);
const QRect WindowTest::kListArea(0, 40, 248, 330);
const QRect WindowTest::kChartArea(10, 120, 751, 80);

WindowTest::WindowTest() = default;

WindowTest::~WindowTest() {
    // The windows go before the fakes they talk to.
    m_app.reset();
    FakeSkinHost::forgetSkins();
}

QString WindowTest::programPath(const QString& relative) const {
    return QDir(m_folder.path()).filePath(relative);
}

void WindowTest::declareSkins(int n, const QStringList& missing) {
    const auto declare = [&](const QString& relative, const QStringList& names,
                             const QMap<QString, QString>& values,
                             const QMap<QString, QRect>& areas) {
        if (!missing.contains(relative)) {
            FakeSkinHost::declareSkin(programPath(relative), names, values, areas);
        }
    };
    declare(QStringLiteral("skin/main/%1.mp4").arg(n),
            {QStringLiteral("open"), QStringLiteral("delete"), QStringLiteral("setup"),
             QStringLiteral("info")},
            {},
            {{QStringLiteral("client"), kClient}, {QStringLiteral("ControlBand"), kControlBand}});
    declare(QStringLiteral("skin/media/ls%1.MP4").arg(n),
            {QStringLiteral("ALL"), QStringLiteral("NORMAL"), QStringLiteral("LOCK"),
             QStringLiteral("NONE")},
            {}, {{QStringLiteral("list"), kListArea}});
    declare(
        QStringLiteral("skin/control/MediaControl%1.mp4").arg(n),
        {QStringLiteral("playprogress"), QStringLiteral("HEAD"), QStringLiteral("BACK"),
         QStringLiteral("CMDPLAY"), QStringLiteral("PAUSE"), QStringLiteral("STOP"),
         QStringLiteral("FAST"), QStringLiteral("END"), QStringLiteral("PHOTO"),
         QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"), QStringLiteral("unit"),
         QStringLiteral("SPEAKER"), QStringLiteral("volume"), QStringLiteral("SPEED"),
         QStringLiteral("GS"), QStringLiteral("chart"), QStringLiteral("playspeed")},
        {}, {{QStringLiteral("chart"), kChartArea}});
    declare(QStringLiteral("skin/media/ctl.MP4"), {}, {},
            {{QStringLiteral("map"), kMapArea}, {QStringLiteral("mylist"), kMyListArea}});
    declare(QStringLiteral("skin/setup/%1.mp4").arg(n),
            {QStringLiteral("cmdclose"), QStringLiteral("lang1001"), QStringLiteral("lang1002"),
             QStringLiteral("unit1001"), QStringLiteral("unit1002"), QStringLiteral("unit1003")},
            {{QStringLiteral("lang1001"), QStringLiteral("1001")},
             {QStringLiteral("lang1002"), QStringLiteral("1002")},
             {QStringLiteral("unit1001"), QStringLiteral("1001")},
             {QStringLiteral("unit1002"), QStringLiteral("1002")},
             {QStringLiteral("unit1003"), QStringLiteral("1003")}},
            {});
    declare(QStringLiteral("skin/load/load%1.mp4").arg(n), {}, {}, {});
    declare(QStringLiteral("skin/about.mp4"),
            {QStringLiteral("close"), QStringLiteral("webstation")}, {}, {});
}

void WindowTest::writeFile(const QString& relative, const QByteArray& bytes) {
    const QString path = programPath(relative);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void WindowTest::writeSettings(const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_home.settingsFile()).absolutePath()));
    QFile file(m_home.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool WindowTest::start() {
    m_app = std::make_unique<Application>(m_services, StringTable::builtIn(),
                                          programPath(QStringLiteral("harventis-dvr-tools")));
    m_windows =
        &ViewerWindows::install(*m_app, [this](int status) { m_ended << status; }).windows();
    return Startup(*m_app).runInteractive();
}

FakeSkinHost* WindowTest::skinOf(const QWidget* window) const {
    for (FakeSkinHost* host : m_platform.skinHosts()) {
        if (host->appliedTo() == window) {
            return host;
        }
    }
    return nullptr;
}

FakeMediaPlayer* WindowTest::mtWmp() const {
    return m_platform.mediaPlayers().value(0);
}

FakeMediaPlayer* WindowTest::mtbk() const {
    return m_platform.mediaPlayers().value(1);
}

FakeMapBrowser* WindowTest::browser() const {
    return m_platform.mapBrowsers().value(0);
}

void WindowTest::loadMapPage(bool ok) {
    browser()->setPageValue(QStringLiteral("getContentHis"),
                            QStringLiteral("function getContentHis(text) { [code] }"));
    // Our page keeps its last click, empty until the user clicks a route.
    browser()->setPageValue(MapPage::kTakenClickVariable, QString());
    browser()->finishLoad(ok);
}

QStringList WindowTest::messageTexts() const {
    QStringList texts;
    for (const auto& box : m_platform.messageBoxes.shown()) {
        texts << box.text;
    }
    return texts;
}

void WindowTest::expectOneMessage(MessageBoxService::Icon icon, const QString& title,
                                  const QString& text) const {
    ASSERT_EQ(m_platform.messageBoxes.shown().size(), 1)
        << messageTexts().join(u'\n').toStdString();
    const auto& box = m_platform.messageBoxes.shown().first();
    EXPECT_EQ(box.icon, icon);
    EXPECT_EQ(box.buttons, MessageBoxService::Buttons::Ok);
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.text, text);
}
