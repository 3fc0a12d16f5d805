#include "shell/Application.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <stdexcept>

#include "shell/StartupWindows.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/clsIniFile.h"

Application::Application(const Platform& platform, StringTable strings, QString programFile)
    : m_platform(platform), m_strings(std::move(strings)), m_programFile(std::move(programFile)) {}

Application::~Application() {
    // The windows go while everything they use is still there.
    m_registry.unloadAll();
}

QString Application::programFolder() const {
    return QFileInfo(m_programFile).absolutePath();
}

void Application::setLanguageCode(int code) {
    m_languageCode = code;
    m_languageNumber = code % 10;
    m_languageBase = static_cast<int>(StringTable::idFor(m_languageNumber, 0));
}

double Application::unitFactorFor(int code, double previous) {
    switch (code % 10) {
        case 1:
            return 1.0;
        case 2:
            return 0.6213712;
        case 3:
            return 0.5399568;
        default:
            return previous;
    }
}

void Application::setUnitCode(int code) {
    m_unitCode = code;
    m_unitFactor = unitFactorFor(code, m_unitFactor);
}

QString Application::text(int textId) const {
    return m_strings.languageText(m_languageNumber, textId);
}

QString Application::textOr(int textId) const {
    try {
        return text(textId);
    } catch (const std::exception&) {
        return QString::number(StringTable::idFor(m_languageNumber, textId));
    }
}

QString Application::buttonLabel(MessageBoxService::Answer answer) const {
    if (m_languageNumber == 0) {
        return QString();
    }
    try {
        return text(TextId::buttonLabel(answer));
    } catch (const std::exception&) {
        return QString();
    }
}

QString Application::sharedText(int id) const {
    return m_strings.text(id);
}

QString Application::mapBaseAddress() {
    QString base = settings().GetSetting(QStringLiteral("MapBase"));
    if (base.isEmpty()) {
        base = sharedText(TextId::kMapBase);
    }
    if (!base.endsWith(u'/')) {
        base += u'/';
    }
    return base;
}

clsIniFile& Application::settings() {
    if (!m_settings) {
        m_settings = std::make_unique<clsIniFile>();
    }
    return *m_settings;
}

int Application::twipsPerPixel() {
    if (m_twipsPerPixel == 0) {
        const auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        const QScreen* screen = gui != nullptr ? QGuiApplication::primaryScreen() : nullptr;
        m_twipsPerPixel =
            screen != nullptr ? WindowGeometry::twipsForDpi(screen->logicalDotsPerInchY()) : 15;
    }
    return m_twipsPerPixel;
}

QString Application::kindLabel(bool lock) {
    return text(4000 + 10 * twipsPerPixel() + (lock ? 2 : 1));
}

void Application::setStartupWindows(std::unique_ptr<StartupWindows> steps) {
    m_startupWindows = std::move(steps);
}
