#include "shell/WindowArrangement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>
#include <memory>

#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "playback/frmChild.h"
#include "playback/frmCurve.h"
#include "settings/frmSetupInfo.h"
#include "track/frmSendData.h"

WindowArrangement::WindowArrangement(Application& app, EndProgram endProgram)
    : m_app(app), m_endProgram(std::move(endProgram)) {}

WindowArrangement& WindowArrangement::install(Application& app, EndProgram endProgram) {
    // The constructor is private, so make_unique cannot reach it.
    std::unique_ptr<WindowArrangement> arrangement(
        new WindowArrangement(app, std::move(endProgram)));
    WindowArrangement& installed = *arrangement;
    installed.registerWindows();
    app.setStartupWindows(std::move(arrangement));
    return installed;
}

void WindowArrangement::registerWindows() {
    // Each window is made in its final parent: the web view and the video widgets must never
    // change parent once made.
    m_app.registerWindow<frmTip>([this](Application&) { return std::make_unique<frmTip>(*this); });
    m_app.registerWindow<frmMain>(
        [this](Application&) { return std::make_unique<frmMain>(*this); });
    m_app.registerWindow<frmChild>([this](Application& app) {
        return std::make_unique<frmChild>(*this, &app.window<frmMain>());
    });
    m_app.registerWindow<frmCurve>([this](Application& app) {
        return std::make_unique<frmCurve>(*this, &app.window<frmChild>().mediaControlBand());
    });
    m_app.registerWindow<frmMediaCtrl>([this](Application& app) {
        return std::make_unique<frmMediaCtrl>(*this, &app.window<frmMain>());
    });
    m_app.registerWindow<frmMP4List>([this](Application& app) {
        return std::make_unique<frmMP4List>(*this, &app.window<frmMediaCtrl>().myListBand());
    });
    m_app.registerWindow<frmSendData>([this](Application& app) {
        return std::make_unique<frmSendData>(*this, &app.window<frmMain>());
    });
    m_app.registerWindow<frmSetupInfo>([this](Application& app) {
        return std::make_unique<frmSetupInfo>(*this, &app.window<frmMain>());
    });
    m_app.registerWindow<frmAbout>([this](Application& app) {
        return std::make_unique<frmAbout>(*this, &app.window<frmMain>());
    });
}

void WindowArrangement::endProgram(int status) {
    if (m_programEnded) {
        return;
    }
    m_programEnded = true;
    if (m_endProgram) {
        m_endProgram(status);
    }
}

void WindowArrangement::throwIfEnded() const {
    if (m_programEnded) {
        throw ProgramEnded();
    }
}

void WindowArrangement::showSplash() {
    frmTip* splash = load<frmTip>();
    throwIfEnded();
    if (splash != nullptr) {
        splash->show();
        splash->raise();
        splash->activateWindow();
    }
}

void WindowArrangement::dockControlBar() {
    frmChild* video = load<frmChild>();
    throwIfEnded();
    frmCurve* controlBar = load<frmCurve>();
    throwIfEnded();
    if (video != nullptr && controlBar != nullptr) {
        video->dockControlBar(*controlBar);
    }
}

void WindowArrangement::dockMapPanel() {
    frmMediaCtrl* panel = load<frmMediaCtrl>();
    throwIfEnded();
    if (panel != nullptr) {
        m_app.window<frmMain>().dockMapPanel(*panel);
    }
}

void WindowArrangement::showMainWindow() {
    frmMain* frame = load<frmMain>();
    throwIfEnded();
    if (frame == nullptr) {
        return;
    }
    frame->show();
    // Without a window manager the window shown last lies on top; the splash keeps the front
    // for its three seconds.
    if (m_app.isLoaded<frmTip>() && m_app.window<frmTip>().isVisible()) {
        m_app.window<frmTip>().raise();
    }
    reportState();
}

void WindowArrangement::reportState() {
    const QString path = qEnvironmentVariable(kStateFileVariable);
    if (path.isEmpty()) {
        return;
    }
    QJsonObject state;
    state.insert(QStringLiteral("pid"), QCoreApplication::applicationPid());
    state.insert(QStringLiteral("languageCode"), m_app.languageCode());
    state.insert(QStringLiteral("languageNumber"), m_app.languageNumber());
    state.insert(QStringLiteral("unitCode"), m_app.unitCode());
    state.insert(QStringLiteral("frame"),
                 m_app.isLoaded<frmMain>() && m_app.window<frmMain>().isVisible());
    state.insert(QStringLiteral("ready"),
                 m_app.isLoaded<frmMediaCtrl>() ? m_app.window<frmMediaCtrl>().mapReady() : 0);
    QJsonArray rows;
    if (m_app.isLoaded<frmMP4List>()) {
        const QTreeWidget& list = m_app.window<frmMP4List>().LstMP4();
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list.topLevelItem(i);
            QJsonArray columns;
            for (int c = 0; c < list.columnCount(); ++c) {
                columns.append(item->text(c));
            }
            rows.append(columns);
        }
    }
    state.insert(QStringLiteral("rows"), rows);
    // Written whole or not at all: a reader polling the file never sees half of it.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(state).toJson());
        file.commit();
    }
}

QRect WindowArrangement::dockedBand(const QRect& container, Qt::Edge edge, int extent) {
    switch (edge) {
        case Qt::LeftEdge:
            return {container.left(), container.top(), std::min(extent, container.width()),
                    container.height()};
        case Qt::RightEdge: {
            const int width = std::min(extent, container.width());
            return {container.right() + 1 - width, container.top(), width, container.height()};
        }
        case Qt::TopEdge:
            return {container.left(), container.top(), container.width(),
                    std::min(extent, container.height())};
        case Qt::BottomEdge: {
            const int height = std::min(extent, container.height());
            return {container.left(), container.bottom() + 1 - height, container.width(), height};
        }
    }
    return {};
}

QRect WindowArrangement::besideBand(const QRect& container, Qt::Edge edge, int extent) {
    const QRect band = dockedBand(container, edge, extent);
    switch (edge) {
        case Qt::LeftEdge:
            return container.adjusted(band.width(), 0, 0, 0);
        case Qt::RightEdge:
            return container.adjusted(0, 0, -band.width(), 0);
        case Qt::TopEdge:
            return container.adjusted(0, band.height(), 0, 0);
        case Qt::BottomEdge:
            return container.adjusted(0, 0, 0, -band.height());
    }
    return container;
}

int WindowArrangement::halfToEven(int value) {
    const int half = value / 2;
    const int rest = value % 2;
    if (rest == 0 || half % 2 == 0) {
        return half;
    }
    return half + rest;
}

QRect WindowArrangement::centredIn(const QRect& area, QSize size, bool clampTopLeft) {
    int freeX = area.width() - size.width();
    int freeY = area.height() - size.height();
    if (clampTopLeft) {
        freeX = std::max(freeX, 0);
        freeY = std::max(freeY, 0);
    }
    return {QPoint(area.left() + halfToEven(freeX), area.top() + halfToEven(freeY)), size};
}
