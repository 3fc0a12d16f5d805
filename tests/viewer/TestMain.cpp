#include <gtest/gtest.h>

#include <QTemporaryDir>

#ifdef HARVENTIS_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include "TestEnvironment.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    // A safety net under every test's own TempHome: nothing a test forgets to redirect can
    // reach the real home.
    QTemporaryDir home;
    TestEnvironment::redirectHome(home);

#ifdef HARVENTIS_TEST_GUI
    QTemporaryDir runtime;
#ifdef HARVENTIS_TEST_DISPLAY
    // The real window system: video pixels reach the screen only there.
    qputenv("QT_QPA_PLATFORM", "xcb");
#endif
    TestEnvironment::useOffscreenScreen(runtime);
    TestEnvironment::prepareWebEngine(runtime);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
