#include "platform/MapSchemeHandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <utility>

MapSchemeHandler::MapSchemeHandler(const QString& mapFolder, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_mapFolder(mapFolder) {}

void MapSchemeHandler::registerScheme() {
    if (QWebEngineUrlScheme::schemeByName(kScheme).name() == QByteArray(kScheme)) {
        return;
    }
    QWebEngineUrlScheme scheme(kScheme);
    // "harvdvr-map://app/harvdvr/…": a host, so the page has an origin of its own. Not a
    // secure scheme: a tile server the user names may be plain http.
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QString MapSchemeHandler::resolve(const QString& mapFolder, const QUrl& url) {
    const QString root = QFileInfo(mapFolder).canonicalFilePath();
    const QString path = url.path(QUrl::FullyDecoded);
    if (root.isEmpty() || !path.startsWith(u'/')) {
        return QString();
    }
    const QStringList steps = path.mid(1).split(u'/');
    for (const QString& step : steps) {
        if (step.isEmpty() || step == QStringLiteral(".") || step == QStringLiteral("..") ||
            step.contains(u'\\') || step.contains(QChar(0))) {
            return QString();
        }
    }
    // Links are followed before the check, so one that leads out of the folder is refused.
    const QFileInfo file(root + u'/' + steps.join(u'/'));
    const QString real = file.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(root + u'/') || !QFileInfo(real).isFile()) {
        return QString();
    }
    return real;
}

QByteArray MapSchemeHandler::mimeType(const QString& fileName) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {"asp", "text/html"},      {"html", "text/html"},    {"htm", "text/html"},
        {"js", "text/javascript"}, {"css", "text/css"},      {"json", "application/json"},
        {"png", "image/png"},      {"jpg", "image/jpeg"},    {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},      {"svg", "image/svg+xml"}, {"ico", "image/x-icon"},
        {"woff2", "font/woff2"},   {"woff", "font/woff"},    {"txt", "text/plain"},
    };
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const auto& [ending, type] : kTypes) {
        if (suffix == QLatin1String(ending)) {
            return type;
        }
    }
    return QByteArrayLiteral("application/octet-stream");
}

void MapSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QString path = resolve(m_mapFolder, job->requestUrl());
    if (path.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The job reads the file on the engine's own thread and deletes it with itself.
    auto* file = new QFile(path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(mimeType(path), file);
}
