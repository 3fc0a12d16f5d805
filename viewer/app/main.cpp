#include <QApplication>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <iostream>
#include <memory>

#include "app/ViewerWindows.h"
#include "platform/ConsoleMessageBoxService.h"
#include "platform/MapWebSetup.h"
#include "platform/Platform.h"
#include "platform/QtMapBrowser.h"
#include "platform/QtPlatform.h"
#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/Startup.h"
#include "shell/StringTable.h"
#include "shell/TextId.h"
#include "skin/QtSkinHost.h"

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
    const QStringList recordings = CommandLine::recordingsToOpen(arguments);
    const QString commandLine = CommandLine::fromArguments(arguments);
    if (recordings.isEmpty() && !commandLine.isEmpty()) {
        QCoreApplication core(argc, argv);
        ConsoleMessageBoxService messageBoxes(std::cerr);
        Platform platform;
        platform.messageBoxes = &messageBoxes;
        Application app(platform, StringTable::builtIn(), QCoreApplication::applicationFilePath());
        return Startup(app).runInstaller(commandLine);
    }

    // The web engine describes its set-up on every start; users have no use for it. Rules in
    // QT_LOGGING_RULES still come first, for whoever wants to see it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // The web view shares its drawing context with the video widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QtMapBrowser::registerScheme();
    QApplication gui(argc, argv);
    QtPlatform platform;
    Platform services = platform.services();
    services.makeSkinHost = []() -> std::unique_ptr<SkinHost> {
        return std::make_unique<QtSkinHost>();
    };
    Application app(services, StringTable::builtIn(), QCoreApplication::applicationFilePath());
    MapWebSetup map;
    map.programFolder = app.programFolder();
    map.contact = app.sharedText(TextId::kMakerAddress);
    QtMapBrowser::configure(map);
    // The boxes' buttons read in the language start-up chooses.
    platform.messageBoxes().setLabelProvider(
        [&app](MessageBoxService::Answer answer) { return app.buttonLabel(answer); });
    ViewerWindows& windows = ViewerWindows::install(app, [](int status) {
        // Before the event loop runs, start-up sees the end itself and returns.
        if (QThread::currentThread()->loopLevel() > 0) {
            QCoreApplication::exit(status);
        }
    });
    if (!Startup(app).runInteractive()) {
        return 1;
    }
    // Without a window shown nothing could ever end the event loop.
    if (!anyWindowShown()) {
        return 0;
    }
    if (!recordings.isEmpty()) {
        windows.openRecordings(recordings);
    }
    return QApplication::exec();
}
