#include "app/StateProbe.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "frame/frmMain.h"
#include "list/frmMP4List.h"
#include "services/MapPage.h"
#include "shell/Application.h"

std::unique_ptr<StateProbe> StateProbe::install(Application& app) {
    const QString path = qEnvironmentVariable(kStateFileVariable);
    if (path.isEmpty()) {
        return nullptr;
    }
    auto probe = std::make_unique<StateProbe>(app, path);
    StateProbe* watching = probe.get();
    app.mapPage().addReadyHandler([watching](int) { watching->report(); });
    return probe;
}

StateProbe::StateProbe(Application& app, QString path) : m_app(app), m_path(std::move(path)) {}

void StateProbe::report() const {
    QJsonObject state;
    state.insert(QStringLiteral("pid"), QCoreApplication::applicationPid());
    state.insert(QStringLiteral("languageCode"), m_app.languageCode());
    state.insert(QStringLiteral("languageNumber"), m_app.languageNumber());
    state.insert(QStringLiteral("unitCode"), m_app.unitCode());
    state.insert(QStringLiteral("frame"),
                 m_app.isLoaded<frmMain>() && m_app.window<frmMain>().isVisible());
    state.insert(QStringLiteral("ready"), m_app.mapPage().readyFlag());
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
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(state).toJson());
        file.commit();
    }
}
