#include "SkinFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString SkinFolder::path(const QString& name) const {
    return m_dir.filePath(name);
}

QString SkinFolder::write(const QString& name, const QByteArray& text) const {
    const QString file = path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) {
        qFatal("cannot write %s", qPrintable(file));
    }
    return file;
}

QByteArray SkinFolder::solid(int width, int height, const char* color) {
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
               "<rect width=\"%1\" height=\"%2\" fill=\"%3\"/></svg>")
        .arg(width)
        .arg(height)
        .arg(QLatin1String(color))
        .toUtf8();
}
