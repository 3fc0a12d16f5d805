#include "platform/MapWebProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "platform/MapSchemeHandler.h"
#include "platform/MapTileInterceptor.h"

const QString MapWebProfile::kDefaultTileAddress =
    QStringLiteral("https://{s}.tile.openstreetmap.org/{z}/{x}/{y}.png");

namespace {

const QString kSettingsScript = QStringLiteral("harvdvr-settings");

MapWebSetup& sharedSetup() {
    static MapWebSetup setup;
    return setup;
}

std::weak_ptr<MapWebProfile>& sharedProfile() {
    static std::weak_ptr<MapWebProfile> profile;
    return profile;
}

// A header value can never end the header early, whatever a setting holds.
QByteArray headerValue(const QString& text) {
    QByteArray value = text.trimmed().toUtf8();
    value.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
    return value;
}

}  // namespace

MapWebProfile::MapWebProfile(const QString& storageName, const QString& cacheFolder,
                             QObject* parent)
    : QWebEngineProfile(storageName, parent),
      m_scheme(new MapSchemeHandler(QString(), this)),
      m_interceptor(new MapTileInterceptor(this)) {
    setCachePath(cacheFolder);
    setPersistentStoragePath(cacheFolder + QStringLiteral("/storage"));
    setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    installUrlSchemeHandler(MapSchemeHandler::kScheme, m_scheme);
    setUrlRequestInterceptor(m_interceptor);
    apply(MapWebSetup{});
}

void MapWebProfile::apply(const MapWebSetup& setup) {
    m_setup = setup;
    const QString program = setup.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                          : setup.programFolder;
    m_scheme->setMapFolder(QDir(program).filePath(QStringLiteral("map")));

    const QString tiles = tileAddressOr(setup.tileAddress);
    m_interceptor->setTileAddress(tiles);
    m_interceptor->setUserAgent(userAgent(setup.contact));
    m_interceptor->setReferer(headerValue(setup.tileReferer));

    // The page reads its settings when it starts; as data, so no setting can become script.
    const QJsonObject settings{{QStringLiteral("tileAddress"), tiles}};
    QWebEngineScript script;
    script.setName(kSettingsScript);
    script.setSourceCode(
        QStringLiteral("window.harvdvrSettings = %1;")
            .arg(QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact))));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    for (const QWebEngineScript& old : scripts()->find(kSettingsScript)) {
        scripts()->remove(old);
    }
    scripts()->insert(script);
}

std::shared_ptr<MapWebProfile> MapWebProfile::shared() {
    std::shared_ptr<MapWebProfile> profile = sharedProfile().lock();
    if (!profile) {
        profile = std::make_shared<MapWebProfile>(QStringLiteral("harventis-dvr-tools"),
                                                  defaultCacheFolder());
        profile->m_shared = true;
        profile->apply(sharedSetup());
        sharedProfile() = profile;
    }
    return profile;
}

void MapWebProfile::configureShared(const MapWebSetup& setup) {
    sharedSetup() = setup;
    if (const std::shared_ptr<MapWebProfile> profile = sharedProfile().lock()) {
        profile->apply(setup);
    }
}

QString MapWebProfile::defaultCacheFolder() {
    const QString value = qEnvironmentVariable("XDG_CACHE_HOME");
    const QString cache =
        value.startsWith(u'/') ? value : QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(cache + QStringLiteral("/harventis-dvr-tools/web"));
}

QString MapWebProfile::tileAddressOr(const QString& address) {
    // Checked as text: the {s} of a host is no valid host name to QUrl.
    static const QRegularExpression web(QStringLiteral(R"(\Ahttps?://[^/\s]+/\S*\z)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = address.trimmed();
    return web.match(trimmed).hasMatch() ? trimmed : kDefaultTileAddress;
}

QByteArray MapWebProfile::userAgent(const QString& contact) {
    QByteArray agent = QByteArrayLiteral("HarventisDVRTools/" HARVENTIS_VERSION);
    if (!contact.isEmpty()) {
        agent += " (+" + headerValue(contact) + ')';
    }
    return agent;
}
