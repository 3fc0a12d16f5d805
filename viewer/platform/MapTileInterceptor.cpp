#include "platform/MapTileInterceptor.h"

#include <QUrl>
#include <QWebEngineUrlRequestInfo>

MapTileInterceptor::MapTileInterceptor(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

void MapTileInterceptor::setTileAddress(const QString& address) {
    // Only the server part counts: scheme, host (any label for {s}) and port.
    const QString server = address.section(u'/', 0, 2);
    QString pattern = QRegularExpression::escape(server.toLower());
    pattern.replace(QRegularExpression::escape(QStringLiteral("{s}")),
                    QStringLiteral("[a-z0-9-]+"));
    m_tileServer.setPattern(QStringLiteral("\\A") + pattern + QStringLiteral("\\z"));
}

bool MapTileInterceptor::isTileRequest(const QUrl& url) const {
    if (m_tileServer.pattern().isEmpty()) {
        return false;
    }
    const QString server = url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery |
                                        QUrl::RemoveFragment | QUrl::RemoveUserInfo)
                               .toString()
                               .toLower();
    return m_tileServer.match(server).hasMatch();
}

void MapTileInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!isTileRequest(info.requestUrl())) {
        return;
    }
    if (!m_userAgent.isEmpty()) {
        info.setHttpHeader(QByteArrayLiteral("User-Agent"), m_userAgent);
    }
    // The web engine cancels a request that would carry a secure page's address to a plain
    // http server, and a tile server the user names may be one.
    const bool downgrade =
        m_referer.startsWith("https:") && info.requestUrl().scheme() != QStringLiteral("https");
    if (!m_referer.isEmpty() && !downgrade) {
        info.setHttpHeader(QByteArrayLiteral("Referer"), m_referer);
    }
}
