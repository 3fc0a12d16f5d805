#include "shell/DesktopEntry.h"

#include <QByteArray>
#include <QString>

QString DesktopEntry::escapeValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\r') {
            out += QStringLiteral("\\r");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (c == u' ' && i == 0) {
            out += QStringLiteral("\\s");
        } else {
            out += c;
        }
    }
    return out;
}

QString DesktopEntry::quoteExecArgument(const QString& argument) {
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'%') {
            out += QStringLiteral("%%");
        } else {
            out += c;
        }
    }
    out += u'"';
    return out;
}

QByteArray DesktopEntry::launcher(const QString& name, const QString& program,
                                  const QString& workingFolder, const QString& icon) {
    QString text = QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=") + escapeValue(name) + u'\n';
    // %F: files chosen with "Open with" or dropped on the launcher are opened in the list.
    text += QStringLiteral("Exec=") + escapeValue(quoteExecArgument(program)) +
            QStringLiteral(" %F\n");
    text += QStringLiteral("Path=") + escapeValue(workingFolder) + u'\n';
    text += QStringLiteral("Icon=") + escapeValue(icon) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("Categories=AudioVideo;Video;Player;\n");
    text += QStringLiteral("MimeType=video/mp4;\n");
    return text.toUtf8();
}
