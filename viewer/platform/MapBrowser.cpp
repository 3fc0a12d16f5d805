#include "platform/MapBrowser.h"

#include <QString>

MapBrowser::~MapBrowser() = default;

bool MapBrowser::isIdentifier(const QString& name) {
    if (name.isEmpty()) {
        return false;
    }
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool letter =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u'$';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0)) {
            return false;
        }
    }
    return true;
}

QString MapBrowser::scriptStringLiteral(const QString& text) {
    QString literal = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
            case u'"':
                literal += QStringLiteral("\\\"");
                break;
            case u'\\':
                literal += QStringLiteral("\\\\");
                break;
            case u'\n':
                literal += QStringLiteral("\\n");
                break;
            case u'\r':
                literal += QStringLiteral("\\r");
                break;
            default:
                // Control characters, the line separators a script string may not hold, and
                // "<" (so "</script>" can never close a page's script block) are written as
                // escapes.
                if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029 ||
                    c == u'<') {
                    literal += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                } else {
                    literal += c;
                }
        }
    }
    literal += u'"';
    return literal;
}
