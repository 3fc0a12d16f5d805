#include "ProbeSkinHost.h"

#include "platform/SkinElement.h"

ProbeSkinHost::ProbeSkinHost(std::unique_ptr<SkinHost> inner,
                             std::weak_ptr<QList<ProbeSkinHost*>> registry)
    : m_inner(std::move(inner)), m_registry(std::move(registry)) {
    if (auto list = m_registry.lock()) {
        list->append(this);
    }
}

ProbeSkinHost::~ProbeSkinHost() {
    if (auto list = m_registry.lock()) {
        list->removeAll(this);
    }
}

bool ProbeSkinHost::loadSkin(const QString& path, QString* error) {
    const bool loaded = m_inner->loadSkin(path, error);
    if (loaded) {
        m_path = path;
    }
    return loaded;
}

void ProbeSkinHost::applySkin(QWidget* window) {
    m_window = window;
    m_inner->applySkin(window);
}

SkinElement* ProbeSkinHost::element(const QString& name) {
    return m_inner->element(name);
}

QRect ProbeSkinHost::area(const QString& name) const {
    return m_inner->area(name);
}

void ProbeSkinHost::setClickHandler(ClickHandler handler) {
    m_click = handler;
    m_inner->setClickHandler(std::move(handler));
}

void ProbeSkinHost::setValueHandler(ValueHandler handler) {
    m_value = handler;
    m_inner->setValueHandler(std::move(handler));
}

bool ProbeSkinHost::click(const QString& name) {
    SkinElement* e = m_inner->element(name);
    if (e == nullptr) {
        return false;
    }
    if (m_click) {
        m_click(*e);
    }
    return true;
}

bool ProbeSkinHost::moveSlider(const QString& name, int value) {
    SkinElement* e = m_inner->element(name);
    if (e == nullptr) {
        return false;
    }
    e->setSliderValue(value);
    if (m_value) {
        m_value(*e, e->sliderValue());
    }
    return true;
}
