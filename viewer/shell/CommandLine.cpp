#include "shell/CommandLine.h"

#include <QFileInfo>
#include <QStringList>

QStringList CommandLine::recordingsToOpen(const QStringList& arguments) {
    QStringList recordings;
    for (const QString& argument : arguments) {
        const QFileInfo file(argument);
        if (!file.isFile() ||
            file.suffix().compare(QStringLiteral("mp4"), Qt::CaseInsensitive) != 0) {
            return {};
        }
        recordings << file.absoluteFilePath();
    }
    return recordings;
}

QString CommandLine::fromArguments(const QStringList& arguments) {
    return arguments.join(u' ');
}

QStringList CommandLine::split(const QString& line, int maxCount) {
    QStringList arguments;
    bool inside = false;
    for (const QChar c : line) {
        if (c == u'*') {
            inside = false;
            continue;
        }
        if (!inside) {
            if (arguments.size() >= maxCount) {
                break;
            }
            arguments << QString();
            inside = true;
        }
        arguments.last() += c;
    }
    return arguments;
}
