#pragma once

#include <QByteArray>
#include <QString>
#include <QWebEngineUrlSchemeHandler>

class QUrl;

// Serves the map page and its scripts to the web view from the program folder's "map" folder,
// so the page keeps its address form base + "DeskMap.asp?LangID=1028" without a web server.
// Nothing outside that folder is ever served, whatever the address says.
class MapSchemeHandler : public QWebEngineUrlSchemeHandler {
  public:
    // Constant from the start: the scheme is registered before main() runs in tests.
    static constexpr char kScheme[] = "harvdvr-map";

    explicit MapSchemeHandler(const QString& mapFolder, QObject* parent = nullptr);

    void setMapFolder(const QString& mapFolder) { m_mapFolder = mapFolder; }
    QString mapFolder() const { return m_mapFolder; }

    // The web engine knows a scheme only when it is registered before the application object
    // exists; later calls change nothing.
    static void registerScheme();

    // The file an address names below mapFolder, or nothing when there is no such file or
    // the address reaches outside the folder (a ".." step, an empty step, a link that leads
    // out). The query and the host play no part.
    static QString resolve(const QString& mapFolder, const QUrl& url);
    // The type the page's files are served as: an ".asp" page is HTML.
    static QByteArray mimeType(const QString& fileName);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

  private:
    QString m_mapFolder;
};
