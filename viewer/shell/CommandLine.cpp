#include "shell/CommandLine.h"

#include <QStringList>

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
