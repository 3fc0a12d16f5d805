#include "shell/Application.h"

#include <cxxabi.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "shell/StartupWindows.h"
#include "shell/TextId.h"
#include "shell/clsIniFile.h"

namespace {

std::string className(const std::type_info& type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled != nullptr ? demangled : type.name();
    std::free(demangled);  // NOLINT: the demangler allocates with malloc
    return name;
}

}  // namespace

Application::Application(const Platform& platform, StringTable strings, QString programFile)
    : m_platform(platform), m_strings(std::move(strings)), m_programFile(std::move(programFile)) {}

Application::~Application() {
    // Windows may still use each other while they go: the last made goes first.
    const std::vector<std::type_index> order = m_creationOrder;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        unloadWindow(*it);
    }
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

int Application::twipsForDpi(double logicalDpi) {
    return logicalDpi >= 108.0 ? 12 : 15;
}

int Application::twipsPerPixel() {
    if (m_twipsPerPixel == 0) {
        const auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        const QScreen* screen = gui != nullptr ? QGuiApplication::primaryScreen() : nullptr;
        m_twipsPerPixel = screen != nullptr ? twipsForDpi(screen->logicalDotsPerInchY()) : 15;
    }
    return m_twipsPerPixel;
}

QString Application::kindLabel(bool lock) {
    return text(4000 + 10 * twipsPerPixel() + (lock ? 2 : 1));
}

void Application::setStartupWindows(std::unique_ptr<StartupWindows> steps) {
    m_startupWindows = std::move(steps);
}

void Application::addWindowFactory(std::type_index type,
                                   std::function<std::shared_ptr<void>(Application&)> create) {
    m_windows[type].create = std::move(create);
}

void* Application::windowInstance(const std::type_info& type) {
    const auto it = m_windows.find(type);
    if (it == m_windows.end() || !it->second.create) {
        throw std::runtime_error("Window " + className(type) + " is not available");
    }
    // std::map keeps the slot in place while the factory registers or makes other windows.
    WindowSlot& slot = it->second;
    if (slot.instance) {
        return slot.instance.get();
    }
    if (slot.creating) {
        throw std::runtime_error("Window " + className(type) + " was used while being made");
    }
    slot.creating = true;
    std::shared_ptr<void> instance;
    try {
        instance = slot.create(*this);
    } catch (...) {
        slot.creating = false;
        throw;
    }
    slot.creating = false;
    if (!instance) {
        throw std::runtime_error("Window " + className(type) + " could not be made");
    }
    slot.instance = std::move(instance);
    m_creationOrder.erase(std::remove(m_creationOrder.begin(), m_creationOrder.end(), type),
                          m_creationOrder.end());
    m_creationOrder.push_back(type);
    return slot.instance.get();
}

bool Application::windowLoaded(std::type_index type) const {
    const auto it = m_windows.find(type);
    return it != m_windows.end() && it->second.instance != nullptr;
}

void Application::unloadWindow(std::type_index type) {
    const auto it = m_windows.find(type);
    if (it == m_windows.end()) {
        return;
    }
    // Taken out of the slot first: the window's destructor may ask whether it is loaded.
    std::shared_ptr<void> instance = std::move(it->second.instance);
    it->second.instance.reset();
    m_creationOrder.erase(std::remove(m_creationOrder.begin(), m_creationOrder.end(), type),
                          m_creationOrder.end());
    instance.reset();
}
