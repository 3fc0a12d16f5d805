#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <QWidget>
#include <iostream>

#include "Application.h"
#include "CommandLine.h"
#include "ConsoleMessageBoxService.h"
#include "Platform.h"
#include "QtPlatform.h"
#include "Startup.h"
#include "StringTable.h"

namespace {

bool anyWindowShown() {
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (window->isVisible()) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Decided before any window object exists: installer mode needs no display, so it runs
    // from install scripts and over ssh.
    const QString commandLine = CommandLine::fromArguments(arguments);
    if (!commandLine.isEmpty()) {
        QCoreApplication core(argc, argv);
        ConsoleMessageBoxService messageBoxes(std::cerr);
        Platform platform;
        platform.messageBoxes = &messageBoxes;
        Application app(platform, StringTable::builtIn(), QCoreApplication::applicationFilePath());
        return Startup(app).runInstaller(commandLine);
    }

    QApplication gui(argc, argv);
    QtPlatform platform;
    Application app(platform.services(), StringTable::builtIn(),
                    QCoreApplication::applicationFilePath());
    if (!Startup(app).runInteractive()) {
        return 1;
    }
    // Without a window shown nothing could ever end the event loop.
    if (!anyWindowShown()) {
        return 0;
    }
    return QApplication::exec();
}
