#include "shell/TrueCasePath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

bool existsAsTyped(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace

QString TrueCasePath::resolve(const QString& path) {
    if (path.trimmed().isEmpty()) {
        return QString();
    }
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QString result;
    for (const QString& name : absolute.split(u'/', Qt::SkipEmptyParts)) {
        const QString folder = result.isEmpty() ? QStringLiteral("/") : result;
        QString stored;
        if (existsAsTyped(result + u'/' + name)) {
            stored = name;
        } else {
            // Sorted, so two names that differ only in case always resolve the same way.
            const QStringList entries = QDir(folder).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            for (const QString& entry : entries) {
                if (entry.compare(name, Qt::CaseInsensitive) == 0) {
                    stored = entry;
                    break;
                }
            }
            if (stored.isEmpty()) {
                return QString();
            }
        }
        result += u'/' + stored;
    }
    return result.isEmpty() ? QStringLiteral("/") : result;
}
