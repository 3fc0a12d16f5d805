// Any bytes as a window's skin file. The reader must take it or refuse it with a message that
// names the file, and never crash, hang or leak, whatever the file says and whatever
// pictures it names. The file lies where a window's skin lies, among the shipped skins, so
// the pictures they name are found whether the file names them from its own folder
// ("art/...", as the about window does) or from the one above ("../art/...").
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "skin/SkinDocument.h"
#include "skin/SkinReader.h"

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "skin file: %s\n", what);
    std::abort();
}

QString skinPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A skin's fonts need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char program[] = "fuzz_skin";
    static char* argv[] = {program, nullptr};
    static QGuiApplication application(argc, argv);

    // Every folder of the shipped skins is linked beside the file and one level up.
    static QTemporaryDir folder;
    const QDir shipped(QStringLiteral(HARVENTIS_SKINS));
    const QStringList folders = shipped.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (!folder.isValid() || folders.isEmpty() ||
        !QDir(folder.path()).mkpath(QStringLiteral("skin/window"))) {
        broken("cannot lay out a skin folder beside the shipped skins");
    }
    for (const QString& name : folders) {
        for (const QString& at : {QStringLiteral("skin/"), QStringLiteral("skin/window/")}) {
            if (!QFile::link(shipped.filePath(name), folder.filePath(at + name))) {
                broken("cannot link the shipped skins");
            }
        }
    }
    skinPath = folder.filePath(QStringLiteral("skin/window/fuzz.mp4"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(skinPath);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
                static_cast<qint64>(size)) {
            broken("cannot write the skin file");
        }
    }
    QString error;
    const std::shared_ptr<const SkinDocument> skin = SkinReader::read(skinPath, &error);
    if (!skin && !error.startsWith(skinPath + QStringLiteral(": "))) {
        broken("refused without a message naming the file");
    }
    return 0;
}
