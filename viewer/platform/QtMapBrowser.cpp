#include "platform/QtMapBrowser.h"

#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/MapSchemeHandler.h"
#include "platform/MapWebProfile.h"

QtMapBrowser::QtMapBrowser(QWidget* parent) : QtMapBrowser(parent, MapWebProfile::shared()) {}

QtMapBrowser::QtMapBrowser(QWidget* parent, std::shared_ptr<MapWebProfile> profile)
    : m_profile(std::move(profile)), m_view(new QWebEngineView(m_profile.get(), parent)) {
    // Recordings dropped on the map join the list through the window around it; the page
    // never opens them itself.
    m_view->setAcceptDrops(false);
    QObject::connect(m_view, &QWebEngineView::loadFinished, &m_context, [this](bool ok) {
        if (m_loadFinished) {
            m_loadFinished(ok);
        }
    });
}

QtMapBrowser::~QtMapBrowser() {
    delete m_view.data();
}

void QtMapBrowser::registerScheme() {
    MapSchemeHandler::registerScheme();
}

void QtMapBrowser::configure(const MapWebSetup& setup) {
    MapWebProfile::configureShared(setup);
}

void QtMapBrowser::setTileAddress(const QString& address) {
    MapWebSetup setup = m_profile->setup();
    setup.tileAddress = address;
    if (m_profile->isShared()) {
        MapWebProfile::configureShared(setup);
    } else {
        m_profile->apply(setup);
    }
    runScript(QStringLiteral("if (window.harvdvrPage) { harvdvrPage.setTileAddress(%1); }")
                  .arg(scriptStringLiteral(MapWebProfile::tileAddressOr(address))));
}

void QtMapBrowser::load(const QString& address) {
    m_view->load(QUrl(address));
}

void QtMapBrowser::setLoadFinishedHandler(LoadFinishedHandler handler) {
    m_loadFinished = std::move(handler);
}

int QtMapBrowser::readyFlag() const {
    return m_readyFlag;
}

void QtMapBrowser::setReadyFlag(int flag) {
    m_readyFlag = flag;
}

void QtMapBrowser::runScript(const QString& code) {
    m_view->page()->runJavaScript(code);
}

void QtMapBrowser::readPageValue(const QString& name, ValueHandler handler) {
    if (!isIdentifier(name)) {
        handler(std::nullopt);
        return;
    }
    // typeof does not throw for a variable the page never declared.
    const QString code =
        QStringLiteral("(typeof %1 === 'undefined' || %1 === null) ? null : String(%1)").arg(name);
    m_view->page()->runJavaScript(code, [handler = std::move(handler)](const QVariant& result) {
        if (!result.isValid() || result.isNull()) {
            handler(std::nullopt);
        } else {
            handler(result.toString());
        }
    });
}

void QtMapBrowser::writePageValue(const QString& name, const QString& value) {
    if (!isIdentifier(name)) {
        return;
    }
    m_view->page()->runJavaScript(name + QStringLiteral(" = ") + scriptStringLiteral(value) +
                                  QStringLiteral(";"));
}

QWidget* QtMapBrowser::widget() {
    return m_view;
}
