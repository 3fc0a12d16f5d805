#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#ifdef HARVENTIS_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include "TempHome.h"

#ifdef HARVENTIS_TEST_GUI
namespace {

void setIfUnset(const char* name, const QByteArray& value) {
    if (qEnvironmentVariableIsEmpty(name)) {
        qputenv(name, value);
    }
}

}  // namespace
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    // A safety net under every test's own TempHome: nothing a test forgets to redirect can
    // reach the real home.
    QTemporaryDir home;
    for (const char* name : TempHome::variables()) {
        qputenv(name, (home.path() + u'/' + QString::fromLatin1(name)).toLocal8Bit());
    }

#ifdef HARVENTIS_TEST_GUI
    setIfUnset("QT_QPA_PLATFORM", "offscreen");
    // The web engine refuses its sandbox as root and finds no GPU on the test machines.
    setIfUnset("QTWEBENGINE_DISABLE_SANDBOX", "1");
    setIfUnset("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    setIfUnset("QT_LOGGING_RULES", "qt.webenginecontext.info=false");
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setIfUnset("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
