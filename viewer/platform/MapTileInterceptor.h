#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QWebEngineUrlRequestInterceptor>

class QString;
class QUrl;

// Names the viewer to the tile server: tile requests carry our own User-Agent and, when the
// server wants one, a Referer. Other requests pass untouched.
class MapTileInterceptor : public QWebEngineUrlRequestInterceptor {
  public:
    explicit MapTileInterceptor(QObject* parent = nullptr);

    // The tile address with its {s}, {z}, {x}, {y} fields; requests to its server are tile
    // requests, whatever subdomain {s} stands for.
    void setTileAddress(const QString& address);
    void setUserAgent(const QByteArray& userAgent) { m_userAgent = userAgent; }
    // Empty: no Referer is sent. An https address never goes to a plain http server.
    void setReferer(const QByteArray& referer) { m_referer = referer; }

    bool isTileRequest(const QUrl& url) const;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  private:
    QRegularExpression m_tileServer;
    QByteArray m_userAgent;
    QByteArray m_referer;
};
