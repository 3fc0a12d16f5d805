#include "platform/fake/FakeSkinHost.h"

FakeSkinElement::FakeSkinElement(QString name, QString valueText)
    : m_name(std::move(name)), m_valueText(std::move(valueText)) {}

void FakeSkinElement::setImageReference(const QString& image, const QList<int>& numbers) {
    m_image = image;
    m_numbers = numbers;
}

QHash<QString, FakeSkinHost::Declared>& FakeSkinHost::declared() {
    static QHash<QString, Declared> skins;
    return skins;
}

void FakeSkinHost::declareSkin(const QString& path, const QStringList& elementNames,
                               const QMap<QString, QString>& valueTexts,
                               const QMap<QString, QRect>& areas) {
    declared().insert(path, Declared{elementNames, valueTexts, areas});
}

void FakeSkinHost::forgetSkins() {
    declared().clear();
}

bool FakeSkinHost::loadSkin(const QString& path, QString* error) {
    auto it = declared().constFind(path);
    if (it == declared().constEnd()) {
        if (error != nullptr) {
            *error = path + QStringLiteral(": no such file");
        }
        return false;
    }
    m_path = path;
    m_elements.clear();
    for (const QString& name : it->names) {
        m_elements.insert(name.toLower(),
                          std::make_shared<FakeSkinElement>(name, it->values.value(name)));
    }
    m_areas.clear();
    for (auto a = it->areas.constBegin(); a != it->areas.constEnd(); ++a) {
        m_areas.insert(a.key().toLower(), a.value());
    }
    return true;
}

void FakeSkinHost::applySkin(QWidget* window) {
    m_window = window;
}

SkinElement* FakeSkinHost::element(const QString& name) {
    auto it = m_elements.constFind(name.toLower());
    return it == m_elements.constEnd() ? nullptr : it->get();
}

QRect FakeSkinHost::area(const QString& name) const {
    return m_areas.value(name.toLower());
}

bool FakeSkinHost::click(const QString& name) {
    SkinElement* e = element(name);
    if (e == nullptr) {
        return false;
    }
    if (m_click) {
        m_click(*e);
    }
    return true;
}

bool FakeSkinHost::moveSlider(const QString& name, int value) {
    SkinElement* e = element(name);
    if (e == nullptr) {
        return false;
    }
    e->setSliderValue(value);
    if (m_value) {
        m_value(*e, value);
    }
    return true;
}
