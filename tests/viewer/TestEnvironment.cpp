#include "TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>

#include "TempHome.h"

namespace {

void setIfUnset(const char* name, const QByteArray& value) {
    if (qEnvironmentVariableIsEmpty(name)) {
        qputenv(name, value);
    }
}

}  // namespace

void TestEnvironment::redirectHome(const QTemporaryDir& folder) {
    for (const char* name : TempHome::variables()) {
        qputenv(name, (folder.path() + u'/' + QString::fromLatin1(name)).toLocal8Bit());
    }
}

void TestEnvironment::useOffscreenScreen(const QTemporaryDir& folder) {
    const QString config = folder.filePath(QStringLiteral("offscreen-screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1280,)"
                   R"( "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        setIfUnset("QT_QPA_PLATFORM", "offscreen");
        return;
    }
    setIfUnset("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
}

void TestEnvironment::prepareWebEngine(const QTemporaryDir& runtime) {
    setIfUnset("QTWEBENGINE_DISABLE_SANDBOX", "1");
    setIfUnset("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    setIfUnset("QT_LOGGING_RULES", "qt.webenginecontext.info=false");
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setIfUnset("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
}
