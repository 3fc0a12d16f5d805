#include "MapPageProbe.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include "platform/MapWebProfile.h"

namespace {

// The web engine takes the page's scheme only before the application object exists, and this
// runs before main().
const bool kSchemeRegistered = [] {
    QtMapBrowser::registerScheme();
    return true;
}();

}  // namespace

MapPageProbe::MapPageProbe(std::shared_ptr<MapWebProfile> profile)
    : m_browser(&m_window, std::move(profile)) {
    m_window.resize(640, 480);
    m_browser.widget()->setGeometry(0, 0, 640, 480);
    m_window.show();
}

std::shared_ptr<MapWebProfile> MapPageProbe::makeProfile(MapWebSetup setup, QString name) {
    static int made = 0;
    if (setup.programFolder.isEmpty()) {
        setup.programFolder = QStringLiteral(HARVENTIS_APP_DIR);
    }
    if (name.isEmpty()) {
        name = QStringLiteral("map-test-%1").arg(++made);
    }
    // In the folder the test program empties when it ends: the web engine goes on writing a
    // profile's cache for a while after the profile has gone.
    auto profile = std::make_shared<MapWebProfile>(
        name, QDir(MapWebProfile::defaultCacheFolder()).filePath(name));
    profile->apply(setup);
    return profile;
}

QString MapPageProbe::pageAddress() {
    return QStringLiteral("harvdvr-map://app/harvdvr/DeskMap.asp?LangID=1028");
}

bool MapPageProbe::load(const QString& address) {
    std::optional<bool> result;
    m_browser.setLoadFinishedHandler([&result](bool ok) { result = ok; });
    m_browser.load(address);
    const bool finished = waitUntil([&] { return result.has_value(); });
    m_browser.setLoadFinishedHandler(nullptr);
    return finished && *result;
}

std::optional<QString> MapPageProbe::evaluate(const QString& expression) {
    // Scripts run in order: the value is in place before it is read.
    m_browser.runScript(QStringLiteral("try { window.harvdvrProbe = String(%1); } catch (e) { "
                                       "window.harvdvrProbe = 'error: ' + e; }")
                            .arg(expression));
    bool answered = false;
    std::optional<QString> value;
    m_browser.readPageValue(QStringLiteral("harvdvrProbe"), [&](std::optional<QString> v) {
        answered = true;
        value = std::move(v);
    });
    if (!waitUntil([&] { return answered; })) {
        return std::nullopt;
    }
    return value;
}

std::optional<QString> MapPageProbe::clickNear(double lat, double lon, double dx, double dy) {
    return evaluate(
        QStringLiteral("(function () {"
                       "  var at = harvdvrPage.screenPoint(%1, %2).split(',');"
                       "  var map = harvdvrPage.map.getContainer();"
                       "  var box = map.getBoundingClientRect();"
                       "  var x = box.left + Number(at[0]) + %3, y = box.top + Number(at[1]) + %4;"
                       "  var options = { clientX: x, clientY: y, bubbles: true, cancelable: true,"
                       "                  view: window, button: 0 };"
                       "  var target = document.elementFromPoint(x, y) || map;"
                       "  target.dispatchEvent(new MouseEvent('click', options));"
                       "  return varLocal;"
                       "})()")
            .arg(lat, 0, 'f', 7)
            .arg(lon, 0, 'f', 7)
            .arg(dx)
            .arg(dy));
}

bool MapPageProbe::waitUntil(const std::function<bool()>& done) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(120000);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(10);
    loop.exec();
    return done();
}
