#include "ViewerHarness.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "ProbeSkinHost.h"
#include "about/frmTip.h"
#include "app/ViewerWindows.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/MapBrowser.h"
#include "platform/QtPlatform.h"
#include "shell/Startup.h"
#include "shell/StringTable.h"

#include "skin/QtSkinElement.h"
#include "skin/QtSkinHost.h"

ViewerHarness::ViewerHarness() : ViewerHarness(Options{}) {}

ViewerHarness::ViewerHarness(Options options) : m_options(options) {
    m_platform = std::make_unique<QtPlatform>();
    Platform services = m_platform->services();
    services.messageBoxes = &m_messageBoxes;
    services.fileDialogs = &m_fileDialogs;
    services.makeSkinHost = [this]() -> std::unique_ptr<SkinHost> {
        return std::make_unique<ProbeSkinHost>(std::make_unique<QtSkinHost>(), m_skins);
    };
    m_app = std::make_unique<Application>(services, StringTable::builtIn(), programFile());
    m_windows =
        &ViewerWindows::install(*m_app, [this](int status) { m_ended << status; }).windows();
}

ViewerHarness::~ViewerHarness() {
    // The windows go first, then let the web engine and the players wind down their work.
    m_app.reset();
    QCoreApplication::processEvents();
}

void ViewerHarness::writeSettings() {
    QDir().mkpath(QFileInfo(m_home.settingsFile()).absolutePath());
    QFile file(m_home.settingsFile());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QStringLiteral("[config]\nmainv=%1\nArea=2021\nUnit=%2\n")
                       .arg(m_options.languageCode)
                       .arg(m_options.unitCode)
                       .toLatin1());
    }
}

bool ViewerHarness::start() {
    writeSettings();
    return Startup(*m_app).runInteractive();
}

ProbeSkinHost* ViewerHarness::skinOf(const QWidget* window) const {
    for (ProbeSkinHost* skin : *m_skins) {
        if (skin->window() == window) {
            return skin;
        }
    }
    return nullptr;
}

bool ViewerHarness::click(const QWidget* window, const QString& element) {
    ProbeSkinHost* skin = skinOf(window);
    return skin != nullptr && skin->click(element);
}

bool ViewerHarness::moveSlider(const QWidget* window, const QString& element, int value) {
    ProbeSkinHost* skin = skinOf(window);
    return skin != nullptr && skin->moveSlider(element, value);
}

std::optional<QString> ViewerHarness::evaluate(const QString& expression) {
    MapBrowser* browser =
        m_app->isLoaded<frmMediaCtrl>() ? m_app->window<frmMediaCtrl>().HTMLView() : nullptr;
    if (browser == nullptr) {
        return std::nullopt;
    }
    // Scripts run in order: the value is in place before it is read.
    browser->runScript(QStringLiteral("window.harvdvrProbe = (%1);").arg(expression));
    bool answered = false;
    std::optional<QString> value;
    browser->readPageValue(QStringLiteral("harvdvrProbe"), [&](std::optional<QString> v) {
        answered = true;
        value = std::move(v);
    });
    if (!waitUntil([&] { return answered; })) {
        return std::nullopt;
    }
    return value;
}

QImage ViewerHarness::grabScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->grabWindow(0).toImage() : QImage();
}

void ViewerHarness::saveScreen(const QString& name) {
    const QString folder = qEnvironmentVariable("HARVENTIS_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    grabScreen().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

bool ViewerHarness::waitUntil(const std::function<bool()>& done, int limitMilliseconds) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(20);
    QTimer::singleShot(limitMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

QString ViewerHarness::programFolder() {
    return QStringLiteral(HARVENTIS_APP_DIR);
}

QString ViewerHarness::programFile() {
    return QStringLiteral(HARVENTIS_VIEWER_PROGRAM);
}

namespace {

QString runRecordingTool(const QStringList& arguments, const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral(HARVENTIS_MAKE_RECORDING), arguments);
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        return QString();
    }
    return path;
}

}  // namespace

QString ViewerHarness::makeRecording(const QString& path, int seconds) {
    return runRecordingTool(
        {QStringLiteral("--layout"), QStringLiteral("novatek-a119"), QStringLiteral("--synth"),
         QString::number(seconds), QStringLiteral("--out"), path},
        path);
}

QString ViewerHarness::makeRecording(const QString& path, const QString& layout,
                                     const QString& route) {
    const QString routeFile = path + QStringLiteral(".route.txt");
    QFile file(routeFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(route.toUtf8()) < 0) {
        return QString();
    }
    file.close();
    const QString made =
        runRecordingTool({QStringLiteral("--layout"), layout, QStringLiteral("--route"), routeFile,
                          QStringLiteral("--out"), path},
                         path);
    QFile::remove(routeFile);
    return made;
}

bool ViewerHarness::clickOnScreen(const QWidget* window, const QString& element) {
    for (ProbeSkinHost* skin : *m_skins) {
        if (skin->window() != window) {
            continue;
        }
        const auto* known = dynamic_cast<const QtSkinElement*>(skin->inner().element(element));
        if (known == nullptr) {
            return false;
        }
        return clickOnScreen(const_cast<QWidget*>(window), known->rect().center());
    }
    return false;
}

bool ViewerHarness::clickOnScreen(QWidget* widget, QPoint at, Qt::MouseButton button) {
    const QPoint global = widget->mapToGlobal(at);
    // What the user would hit there: the widget itself or a part of it, nothing lying over it.
    QWidget* hit = QApplication::widgetAt(global);
    if (hit == nullptr || (hit != widget && !widget->isAncestorOf(hit))) {
        return false;
    }
    QTest::mouseClick(hit, button, {}, hit->mapFromGlobal(global));
    return true;
}

void ViewerHarness::whenModal(std::function<void(QWidget* modal)> check, int delayMilliseconds) {
    QTimer::singleShot(delayMilliseconds, [check = std::move(check)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            ADD_FAILURE() << "no modal window is open";
            return;
        }
        const QPointer<QWidget> open(modal);
        check(modal);
        if (open && open->isVisible()) {
            open->close();
        }
    });
}

bool ViewerHarness::startWithMap() {
    return start() && waitUntil([this] {
               return !m_app->isLoaded<frmTip>() && m_app->window<frmMediaCtrl>().mapReady() == 1;
           });
}

bool ViewerHarness::tickRow(int row) {
    QTreeWidget& view = m_app->window<frmMP4List>().LstMP4();
    QTreeWidgetItem* item = view.topLevelItem(row);
    if (item == nullptr) {
        return false;
    }
    const QPoint at(view.columnViewportPosition(frmMP4List::kCheck) + 7,
                    view.visualItemRect(item).center().y());
    return clickOnScreen(view.viewport(), at);
}

QString ViewerHarness::page(const QString& expression) {
    return evaluate(expression).value_or(QStringLiteral("<no answer>"));
}
