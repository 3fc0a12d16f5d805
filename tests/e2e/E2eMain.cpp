#include <gtest/gtest.h>

#include <QApplication>
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

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    // Nothing a test forgets to redirect can reach the real home.
    QTemporaryDir home;
    for (const char* name : TempHome::variables()) {
        qputenv(name, (home.path() + u'/' + QString::fromLatin1(name)).toLocal8Bit());
    }

    // The real window system: video pixels reach the screen only there.
    qputenv("QT_QPA_PLATFORM", "xcb");
    // The web engine refuses its sandbox as root and finds no GPU on the test machines; a
    // private runtime folder and quiet logs.
    setIfUnset("QTWEBENGINE_DISABLE_SANDBOX", "1");
    setIfUnset("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    setIfUnset("QT_LOGGING_RULES", "qt.webenginecontext.info=false");
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The viewer ends through its own exit step, never because a test's window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
