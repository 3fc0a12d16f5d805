#include "platform/FileDialogFilter.h"

#include <QStringList>

namespace {

QString patternsToQt(const QString& patterns) {
    QStringList out;
    const auto add = [&out](const QString& p) {
        if (!p.isEmpty() && !out.contains(p)) {
            out << p;
        }
    };
    for (const QString& part : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        add(p);
        add(p.toUpper());
        add(p.toLower());
    }
    if (out.isEmpty()) {
        out << QStringLiteral("*");
    }
    return out.join(u' ');
}

}  // namespace

QString FileDialogFilter::toQt(const QString& filter) {
    if (filter.trimmed().isEmpty()) {
        return QString();
    }
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString label = parts.at(i).trimmed();
        const QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        if (label.isEmpty() && patterns.trimmed().isEmpty()) {
            continue;
        }
        entries << QStringLiteral("%1 (%2)").arg(label, patternsToQt(patterns));
    }
    return entries.join(QStringLiteral(";;"));
}
