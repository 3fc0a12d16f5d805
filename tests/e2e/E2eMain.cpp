#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "TestEnvironment.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    // Nothing a test forgets to redirect can reach the real home.
    QTemporaryDir home;
    TestEnvironment::redirectHome(home);

    // The real window system: video pixels reach the screen only there.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir runtime;
    TestEnvironment::prepareWebEngine(runtime);

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The viewer ends through its own exit step, never because a test's window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
