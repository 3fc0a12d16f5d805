#include "skin/QtSkinHost.h"

#include <QWidget>

#include "skin/QtSkinElement.h"
#include "skin/SkinDocument.h"
#include "skin/SkinPicture.h"
#include "skin/SkinReader.h"
#include "skin/SkinSurface.h"
#include "skin/SkinTitleStrip.h"

QtSkinHost::QtSkinHost() = default;

QtSkinHost::~QtSkinHost() {
    retire(m_surface);
    retire(m_title);
}

void QtSkinHost::retire(QPointer<SkinSurface>& surface) {
    // Later rather than now: the host may go while one of the surface's own events is being
    // handled. Until then it draws and raises nothing.
    if (surface) {
        surface->setHandlers({}, {});
        surface->setContent(nullptr, {});
        surface->hide();
        surface->deleteLater();
    }
    surface = nullptr;
}

void QtSkinHost::retire(QPointer<SkinTitleStrip>& title) {
    if (title) {
        title->setContent(nullptr, nullptr, nullptr);
        title->hide();
        title->deleteLater();
    }
    title = nullptr;
}

bool QtSkinHost::loadSkin(const QString& path, QString* error) {
    QString why;
    std::shared_ptr<const SkinDocument> document = SkinReader::read(path, &why);
    if (!document) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    }

    for (auto& element : m_elements) {
        m_putAside.push_back(std::move(element));
    }
    for (auto* button : {&m_minimise, &m_close}) {
        if (*button) {
            m_putAside.push_back(std::move(*button));
        }
    }
    m_elements.clear();
    m_byName.clear();
    m_document = document;

    auto repaint = [this](const QRect& rect) {
        if (m_surface) {
            m_surface->repaintElement(rect);
        }
    };
    for (const SkinDocument::Element& definition : m_document->elements) {
        auto element = std::make_unique<QtSkinElement>(m_document, definition);
        element->setRepaintHandler(repaint);
        m_byName.insert(definition.name.toLower(), element.get());
        m_elements.push_back(std::move(element));
    }
    if (m_document->title) {
        auto titleRepaint = [this](const QRect&) {
            if (m_title) {
                m_title->update();
            }
        };
        if (m_document->title->minimise) {
            m_minimise = std::make_unique<QtSkinElement>(m_document, *m_document->title->minimise);
            m_minimise->setRepaintHandler(titleRepaint);
        }
        if (m_document->title->close) {
            m_close = std::make_unique<QtSkinElement>(m_document, *m_document->title->close);
            m_close->setRepaintHandler(titleRepaint);
        }
    }
    return true;
}

std::vector<QtSkinElement*> QtSkinHost::elementList() const {
    std::vector<QtSkinElement*> list;
    list.reserve(m_elements.size());
    for (const auto& element : m_elements) {
        list.push_back(element.get());
    }
    return list;
}

void QtSkinHost::applySkin(QWidget* window) {
    if (window == nullptr || !m_document) {
        return;
    }
    if (m_window != window) {
        retire(m_surface);
        retire(m_title);
        m_window = window;
    }
    window->setFixedSize(m_document->size);
    if (window->isWindow() && !window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        // Changing the flags of a shown window hides it; show it again as it was.
        const bool shown = window->isVisible();
        window->setWindowFlag(Qt::FramelessWindowHint, true);
        if (shown) {
            window->show();
        }
    }

    if (!m_surface) {
        m_surface = new SkinSurface(window);
        m_surface->setHandlers(
            [this](QtSkinElement& element) { raiseClick(element); },
            [this](QtSkinElement& element, int value) { raiseValue(element, value); });
    }
    m_surface->setGeometry(QRect(QPoint(0, 0), m_document->size));
    m_surface->setContent(m_document, elementList());
    m_surface->lower();
    m_surface->show();

    if (m_document->title) {
        if (!m_title) {
            m_title = new SkinTitleStrip(window);
        }
        m_title->setContent(m_document, m_minimise.get(), m_close.get());
        m_title->raise();
        m_title->show();
    } else {
        retire(m_title);
    }
}

void QtSkinHost::raiseClick(SkinElement& element) {
    // A copy, so a handler that replaces itself keeps running safely.
    const ClickHandler handler = m_click;
    if (handler) {
        handler(element);
    }
}

void QtSkinHost::raiseValue(SkinElement& element, int value) {
    const ValueHandler handler = m_value;
    if (handler) {
        handler(element, value);
    }
}

SkinElement* QtSkinHost::element(const QString& name) {
    return m_byName.value(name.toLower(), nullptr);
}

QRect QtSkinHost::area(const QString& name) const {
    return m_document ? m_document->areas.value(name.toLower()) : QRect();
}

QString QtSkinHost::path() const {
    return m_document ? m_document->path : QString();
}

QSize QtSkinHost::size() const {
    return m_document ? m_document->size : QSize();
}

QSize QtSkinHost::imageSize(const QString& name) const {
    if (!m_document) {
        return {};
    }
    const std::shared_ptr<const SkinPicture> image = m_document->image(name);
    return image ? image->size() : QSize();
}

QStringList QtSkinHost::elementNames() const {
    QStringList names;
    for (const auto& element : m_elements) {
        names << element->name();
    }
    return names;
}
