#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class IniDocument;
class QByteArray;
#include <QtContainerFwd>

// The settings store: one profile file and one current section. Every call reads or writes
// the file anew (nothing is cached), never throws and never shows anything. Text goes to the
// file as UTF-8; a name or value an older run wrote as Latin-1 still reads, and every line a
// write does not change keeps its bytes. Limits count characters and never cut one in half.
class clsIniFile {
  public:
    // Writes version=1.0 into the named section, creating it; the current section stays.
    void SaveSection(const QString& section);
    // Deletes the current section with all its keys.
    void DeleteSection();
    // Writes key=value into the current section, appending the key, the section or the file
    // as needed. False when nothing was written: the file system refused, or the key, value
    // or section cannot be written as one line of the format or has no UTF-8 form.
    bool SaveSetting(const QString& key, const QString& value);
    // The value of key in the current section, at most 254 characters; "" when the key, the
    // section or the file is missing.
    QString GetSetting(const QString& key) const;
    // Fills keys with the names of the current section in file order and returns how many.
    // A missing or empty section gives 0 and leaves keys holding one empty name. Names are
    // read up to 2,500 characters (each counted with one separator, plus one at the end);
    // names beyond that are not seen.
    qint16 GetSection(QStringList& keys) const;
    void DeleteSetting(const QString& key);
    void SetSection(const QString& section);
    void SetParamter(const QString& section, const QString& fileName);

    const QString& fileName() const { return m_fileName; }
    const QString& section() const { return m_section; }

    static constexpr int kValueLimit = 254;
    static constexpr int kKeyListLimit = 2500;

  private:
    // Reads the file; a missing file is an empty document. False when the file exists but
    // cannot be read, so a write never replaces what it could not see.
    bool load(IniDocument& document) const;
    // Applies change to the file's text and saves it through a temporary file and a rename,
    // so the file is never left half written. Nothing is written when change reports that it
    // changed nothing.
    bool update(const std::function<bool(IniDocument&)>& change) const;

    QString m_fileName;
    QString m_section;
};
