#include "shell/clsIniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include "shell/IniDocument.h"

namespace {

QByteArray toFile(const QString& text) {
    return IniDocument::encode(text.trimmed());
}

// Where the first limit characters of text end, in UTF-16 units: a character beyond the
// basic plane is one character in two units, kept whole or left out whole. (Decoded text
// has no lone surrogates.)
qsizetype characterEnd(const QString& text, qsizetype limit) {
    qsizetype end = 0;
    for (qsizetype count = 0; count < limit && end < text.size(); ++count) {
        end += text.at(end).isHighSurrogate() ? 2 : 1;
    }
    return end;
}

qsizetype characterCount(const QString& text) {
    return characterEnd(text, text.size());
}

// A name or value that would break the line it is written on, or that would read back as
// something else (a section header, a comment, a second key), is refused; so is a broken
// UTF-16 text, which has no UTF-8 form and would come back as other characters.
bool isWritableText(const QString& text) {
    return !text.contains(u'\n') && !text.contains(u'\r') && !text.contains(QChar(u'\0')) &&
           text.isValidUtf16();
}

bool isWritableSection(const QString& section) {
    return !section.trimmed().isEmpty() && isWritableText(section) && !section.contains(u']');
}

bool isWritableKey(const QString& key) {
    const QString name = key.trimmed();
    return !name.isEmpty() && isWritableText(name) && !name.contains(u'=') &&
           !name.startsWith(u'[') && !name.startsWith(u';') && !name.startsWith(u'#');
}

}  // namespace

void clsIniFile::SetParamter(const QString& section, const QString& fileName) {
    m_section = section;
    m_fileName = fileName;
}

void clsIniFile::SetSection(const QString& section) {
    m_section = section;
}

bool clsIniFile::load(IniDocument& document) const {
    QFile file(m_fileName);
    if (!file.exists()) {
        document = IniDocument();
        return true;
    }
    if (QFileInfo(m_fileName).isDir() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    document = IniDocument(file.readAll());
    return file.error() == QFileDevice::NoError;
}

bool clsIniFile::update(const std::function<bool(IniDocument&)>& change) const {
    if (m_fileName.isEmpty()) {
        return false;
    }
    IniDocument document;
    if (!load(document)) {
        return false;
    }
    if (!change(document)) {
        return true;
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = document.toBytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void clsIniFile::SaveSection(const QString& section) {
    if (!isWritableSection(section)) {
        return;
    }
    update([&section](IniDocument& document) {
        document.setValue(toFile(section), "version", "1.0");
        return true;
    });
}

void clsIniFile::DeleteSection() {
    if (m_section.trimmed().isEmpty()) {
        return;
    }
    const QByteArray section = toFile(m_section);
    update([&section](IniDocument& document) { return document.removeSection(section); });
}

bool clsIniFile::SaveSetting(const QString& key, const QString& value) {
    if (!isWritableSection(m_section) || !isWritableKey(key) || !isWritableText(value)) {
        return false;
    }
    const QByteArray section = toFile(m_section);
    return update([&](IniDocument& document) {
        document.setValue(section, toFile(key), toFile(value));
        return true;
    });
}

QString clsIniFile::GetSetting(const QString& key) const {
    if (m_fileName.isEmpty() || m_section.trimmed().isEmpty() || key.trimmed().isEmpty()) {
        return QString();
    }
    IniDocument document;
    if (!load(document)) {
        return QString();
    }
    QByteArray value = document.value(toFile(m_section), toFile(key)).value_or(QByteArray());
    // The value is read as a C string: a NUL byte in the file ends it.
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0) {
        value.truncate(nul);
    }
    const QString text = IniDocument::decode(value);
    return text.left(characterEnd(text, kValueLimit));
}

qint16 clsIniFile::GetSection(QStringList& keys) const {
    keys = QStringList{QString()};
    if (m_fileName.isEmpty() || m_section.trimmed().isEmpty()) {
        return 0;
    }
    IniDocument document;
    if (!load(document)) {
        return 0;
    }
    QStringList names;
    // Each name takes its length plus a separator; the list ends with one more.
    qsizetype used = 1;
    for (const QByteArray& bytes : document.keys(toFile(m_section))) {
        const QString name = IniDocument::decode(bytes);
        used += characterCount(name) + 1;
        if (used > kKeyListLimit) {
            break;
        }
        names << name;
    }
    if (names.isEmpty()) {
        return 0;
    }
    keys = names;
    return static_cast<qint16>(names.size());
}

void clsIniFile::DeleteSetting(const QString& key) {
    if (m_section.trimmed().isEmpty() || key.trimmed().isEmpty()) {
        return;
    }
    const QByteArray section = toFile(m_section);
    const QByteArray name = toFile(key);
    update([&](IniDocument& document) { return document.removeKey(section, name); });
}
