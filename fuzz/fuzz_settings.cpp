// Any bytes as the viewer's settings file. Reading it through the settings store, as start-up
// does, must never crash, hang or leak, and the promises the store and its document make must
// hold whatever the file holds: the document gives back the bytes it was read from, a value
// is at most 254 characters, and a key that was written, removed or whose section was removed
// reads back as such, also after a save.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "shell/IniDocument.h"
#include "shell/clsIniFile.h"

namespace {

// The section and keys the viewer reads at start-up.
const QString kSection = QStringLiteral("config");
const QString kKeys[] = {QStringLiteral("mainv"), QStringLiteral("Area"), QStringLiteral("Unit"),
                         QStringLiteral("MapBase")};

[[noreturn]] void broken(const char* promise) {
    std::fprintf(stderr, "settings file: %s\n", promise);
    std::abort();
}

void expect(bool kept, const char* promise) {
    if (!kept) {
        broken(promise);
    }
}

// The names of the section headers in the file, as a user who edits it sees them: what
// stands between '[' and the first ']' of a line.
QList<QByteArray> sectionNames(const QByteArray& text) {
    QList<QByteArray> names;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            names << (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
        }
    }
    return names;
}

// The changes the store makes, each checked on the document and on the document read back
// from its bytes.
void change(const QByteArray& text, const QByteArray& section, const QByteArray& key) {
    const QByteArray value = "1001";
    IniDocument written(text);
    written.setValue(section, key, value);
    expect(written.value(section, key) == value, "a written value reads back");
    expect(IniDocument(written.toBytes()).value(section, key) == value,
           "a written value reads back after a save");

    IniDocument removed(text);
    removed.removeKey(section, key);
    expect(!removed.value(section, key), "a removed key is gone");
    expect(!IniDocument(removed.toBytes()).value(section, key),
           "a removed key is gone after a save");

    IniDocument dropped(text);
    dropped.removeSection(section);
    expect(!dropped.hasSection(section), "a removed section is gone");
    expect(!IniDocument(dropped.toBytes()).hasSection(section),
           "a removed section is gone after a save");
}

QString settingsPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static QTemporaryDir folder;
    if (!folder.isValid()) {
        broken("no temporary folder for the settings file");
    }
    settingsPath = folder.filePath(QStringLiteral("mtconfig.mp4"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IniDocument document(text);
    expect(document.toBytes() == text, "the document keeps the file's bytes");

    // The store reads the file anew on every call, as start-up does.
    {
        QFile file(settingsPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            broken("cannot write the settings file");
        }
    }
    clsIniFile store;
    store.SetParamter(kSection, settingsPath);
    QStringList keys;
    const qint16 count = store.GetSection(keys);
    expect(count == 0 ? keys == QStringList{QString()} : count == keys.size(),
           "the key count matches the keys");
    // Every call reads the whole file again, so a few keys will do.
    for (const QString& key : keys.mid(0, 4) + QStringList(std::begin(kKeys), std::end(kKeys))) {
        expect(store.GetSetting(key).toUcs4().size() <= clsIniFile::kValueLimit,
               "a value is at most 254 characters");
    }

    // One section of the file and one of its keys, chosen by the last byte so the fuzzer
    // can steer to any of them, and the key start-up writes.
    const QList<QByteArray> sections = sectionNames(text);
    const unsigned choice = size > 0 ? data[size - 1] : 0;
    if (!sections.isEmpty()) {
        const QByteArray& section = sections[choice % sections.size()];
        const QList<QByteArray> names = document.keys(section);
        if (!section.isEmpty()) {
            change(text, section, names.isEmpty() ? "Unit" : names[choice / 8 % names.size()]);
        }
    }
    change(text, "config", "Unit");
    return 0;
}
