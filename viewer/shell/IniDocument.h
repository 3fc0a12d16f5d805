#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

class QString;

// The text of a profile file as lines, kept byte for byte so a write changes only the lines
// it must: comments, blank lines, odd spacing, a byte-order mark and the file's own line ends
// (CR LF or LF) survive. Section and key names match without regard to letter case, also
// beyond ASCII; the first section and the first key of a name are the ones read and written.
class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(const QByteArray& text);

    QByteArray toBytes() const;

    // The file's text is UTF-8, but older runs wrote Latin-1, so a name or value that is not
    // valid UTF-8 reads as Latin-1. Each name and each value is judged on its own: a write
    // replaces the value of a line and keeps the name's bytes, so after an update one line
    // can hold a Latin-1 name beside a UTF-8 value, and judging the whole file or line would
    // garble one of them. (Latin-1 text that happens to be valid UTF-8, such as "Ã©", reads
    // as UTF-8; names and values an older run wrote are rarely like that.)
    static QString decode(const QByteArray& bytes);
    // UTF-8; nothing is lost for text that isValidUtf16().
    static QByteArray encode(const QString& text);

    bool hasSection(const QByteArray& section) const;
    // The value with surrounding blanks removed; nothing when the section or key is missing.
    // A line without "=" is a key with an empty value.
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // Key names of the section in file order; comments and blank lines are no keys.
    QList<QByteArray> keys(const QByteArray& section) const;

    // Replaces the value of an existing key in place, appends a missing key after the last
    // entry of its section, and appends a missing section at the end.
    void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    // Removes every line of the key in the section. Returns whether anything was removed.
    bool removeKey(const QByteArray& section, const QByteArray& key);
    // Removes every section of that name with all its lines. Returns whether any was removed.
    bool removeSection(const QByteArray& section);

  private:
    enum class Kind { Blank, Comment, Section, Entry };
    struct Line {
        QByteArray text;  // without its line end
        QByteArray end;   // "\r\n", "\n", or empty for a last line without one
        Kind kind = Kind::Blank;
        QByteArray name;  // section or key name, trimmed
        QByteArray value;
    };

    static Line parse(const QByteArray& text, const QByteArray& end);
    static bool sameName(const QByteArray& a, const QByteArray& b);
    // Index of the first header of the section, or -1.
    qsizetype findSection(const QByteArray& section) const;
    // One past the last line of the section whose header is at index header.
    qsizetype sectionEnd(qsizetype header) const;
    void insertLine(qsizetype at, const QByteArray& text);

    std::vector<Line> m_lines;
    QByteArray m_lineEnd = "\n";
    bool m_byteOrderMark = false;
};
