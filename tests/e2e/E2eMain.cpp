#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "TestEnvironment.h"
#include "platform/MapWebSetup.h"
#include "platform/QtMapBrowser.h"

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
    // The map page comes from the program folder, as in the program.
    QtMapBrowser::registerScheme();
    QApplication app(argc, argv);
    MapWebSetup map;
    map.programFolder = QStringLiteral(HARVENTIS_APP_DIR);
    QtMapBrowser::configure(map);
    // The viewer ends through its own exit step, never because a test's window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
