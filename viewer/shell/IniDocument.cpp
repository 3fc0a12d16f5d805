#include "shell/IniDocument.h"

#include <QString>
#include <QStringDecoder>

namespace {

const QByteArray kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

IniDocument::IniDocument(const QByteArray& text) {
    qsizetype start = 0;
    // Files saved by some editors start with a byte-order mark; it is no part of a name, and
    // the file keeps it.
    if (text.startsWith(kByteOrderMark)) {
        m_byteOrderMark = true;
        start = kByteOrderMark.size();
    }
    bool endSeen = false;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf('\n', start);
        if (newline < 0) {
            m_lines.push_back(parse(text.mid(start), QByteArray()));
            break;
        }
        QByteArray line = text.mid(start, newline - start);
        QByteArray end = "\n";
        if (line.endsWith('\r')) {
            line.chop(1);
            end = "\r\n";
        }
        if (!endSeen) {
            // New lines follow the style of the file's first line end.
            m_lineEnd = end;
            endSeen = true;
        }
        m_lines.push_back(parse(line, end));
        start = newline + 1;
    }
}

IniDocument::Line IniDocument::parse(const QByteArray& text, const QByteArray& end) {
    Line line;
    line.text = text;
    line.end = end;
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        line.kind = Kind::Blank;
    } else if (trimmed.startsWith(';') || trimmed.startsWith('#')) {
        line.kind = Kind::Comment;
    } else if (trimmed.startsWith('[')) {
        line.kind = Kind::Section;
        const qsizetype close = trimmed.indexOf(']');
        line.name = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
    } else {
        line.kind = Kind::Entry;
        const qsizetype equals = trimmed.indexOf('=');
        if (equals < 0) {
            line.name = trimmed;
        } else {
            line.name = trimmed.left(equals).trimmed();
            line.value = trimmed.mid(equals + 1).trimmed();
        }
    }
    return line;
}

QByteArray IniDocument::toBytes() const {
    QByteArray out = m_byteOrderMark ? kByteOrderMark : QByteArray();
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

QString IniDocument::decode(const QByteArray& bytes) {
    // A byte-order mark inside a value is text like any other.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QByteArray IniDocument::encode(const QString& text) {
    return text.toUtf8();
}

bool IniDocument::sameName(const QByteArray& a, const QByteArray& b) {
    return a == b || decode(a).compare(decode(b), Qt::CaseInsensitive) == 0;
}

qsizetype IniDocument::findSection(const QByteArray& section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, section)) {
            return static_cast<qsizetype>(i);
        }
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const {
    auto i = static_cast<std::size_t>(header) + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section) {
        ++i;
    }
    return static_cast<qsizetype>(i);
}

bool IniDocument::hasSection(const QByteArray& section) const {
    return findSection(section) >= 0;
}

std::optional<QByteArray> IniDocument::value(const QByteArray& section,
                                             const QByteArray& key) const {
    const qsizetype header = findSection(section);
    if (header < 0) {
        return std::nullopt;
    }
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind == Kind::Entry && sameName(line.name, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

QList<QByteArray> IniDocument::keys(const QByteArray& section) const {
    QList<QByteArray> names;
    const qsizetype header = findSection(section);
    if (header < 0) {
        return names;
    }
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind == Kind::Entry && !line.name.isEmpty()) {
            names << line.name;
        }
    }
    return names;
}

void IniDocument::insertLine(qsizetype at, const QByteArray& text) {
    // The line before the new one may be a last line without a line end.
    if (at > 0) {
        Line& before = m_lines[static_cast<std::size_t>(at - 1)];
        if (before.end.isEmpty()) {
            before.end = m_lineEnd;
        }
    }
    m_lines.insert(m_lines.begin() + at, parse(text, m_lineEnd));
}

void IniDocument::setValue(const QByteArray& section, const QByteArray& key,
                           const QByteArray& value) {
    const qsizetype header = findSection(section);
    if (header < 0) {
        const auto end = static_cast<qsizetype>(m_lines.size());
        insertLine(end, '[' + section + ']');
        insertLine(end + 1, key + '=' + value);
        return;
    }
    const qsizetype end = sectionEnd(header);
    qsizetype lastContent = header;
    for (qsizetype i = header + 1; i < end; ++i) {
        Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind == Kind::Entry && sameName(line.name, key)) {
            // The key keeps the spelling the file gave it.
            line = parse(line.name + '=' + value, line.end);
            return;
        }
        if (line.kind != Kind::Blank) {
            lastContent = i;
        }
    }
    insertLine(lastContent + 1, key + '=' + value);
}

bool IniDocument::removeKey(const QByteArray& section, const QByteArray& key) {
    const qsizetype header = findSection(section);
    if (header < 0) {
        return false;
    }
    bool removed = false;
    qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end;) {
        const Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind == Kind::Entry && sameName(line.name, key)) {
            m_lines.erase(m_lines.begin() + i);
            --end;
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}

bool IniDocument::removeSection(const QByteArray& section) {
    bool removed = false;
    for (qsizetype header = findSection(section); header >= 0; header = findSection(section)) {
        m_lines.erase(m_lines.begin() + header, m_lines.begin() + sectionEnd(header));
        removed = true;
    }
    return removed;
}
