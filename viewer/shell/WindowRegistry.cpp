#include "shell/WindowRegistry.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

std::string className(std::type_index type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled != nullptr ? demangled : type.name();
    std::free(demangled);  // NOLINT: the demangler allocates with malloc
    return name;
}

}  // namespace

WindowRegistry::WindowRegistry(Application& app) : m_app(app) {}

WindowRegistry::~WindowRegistry() {
    unloadAll();
}

std::type_index WindowRegistry::classOf(std::type_index type) const {
    const auto alias = m_aliases.find(type);
    return alias != m_aliases.end() ? alias->second.windowClass : type;
}

void* WindowRegistry::instance(std::type_index requested) {
    const std::type_index windowClass = classOf(requested);
    const auto it = m_slots.find(windowClass);
    if (it == m_slots.end() || !it->second.create) {
        throw std::runtime_error("Window " + className(requested) + " is not available");
    }
    // std::map keeps the slot in place while the factory registers or makes other windows.
    Slot& slot = it->second;
    if (slot.instance) {
        return slot.instance.get();
    }
    if (slot.creating) {
        throw std::runtime_error("Window " + className(requested) + " was used while being made");
    }
    slot.creating = true;
    std::shared_ptr<void> made;
    try {
        made = slot.create(m_app);
    } catch (...) {
        slot.creating = false;
        throw;
    }
    slot.creating = false;
    if (!made) {
        throw std::runtime_error("Window " + className(requested) + " could not be made");
    }
    slot.instance = std::move(made);
    m_creationOrder.erase(std::remove(m_creationOrder.begin(), m_creationOrder.end(), windowClass),
                          m_creationOrder.end());
    m_creationOrder.push_back(windowClass);
    return slot.instance.get();
}

void* WindowRegistry::loadedInstance(std::type_index windowClass) const {
    const auto it = m_slots.find(windowClass);
    return it != m_slots.end() ? it->second.instance.get() : nullptr;
}

void WindowRegistry::unload(std::type_index windowClass) {
    const auto it = m_slots.find(windowClass);
    if (it == m_slots.end() || !it->second.instance) {
        return;
    }
    // Its guests go first, last made first: the host's widget would delete them otherwise.
    const std::vector<std::type_index> order = m_creationOrder;
    for (auto guest = order.rbegin(); guest != order.rend(); ++guest) {
        const auto slot = m_slots.find(*guest);
        if (slot != m_slots.end() && slot->second.host == windowClass) {
            unload(*guest);
        }
    }
    // Taken out of the slot first: the window's destructor may ask whether it is loaded.
    std::shared_ptr<void> instance = std::move(it->second.instance);
    it->second.instance.reset();
    m_creationOrder.erase(std::remove(m_creationOrder.begin(), m_creationOrder.end(), windowClass),
                          m_creationOrder.end());
    instance.reset();
}

void WindowRegistry::unloadAll() {
    // Windows may still use each other while they go: the last made goes first.
    while (!m_creationOrder.empty()) {
        unload(m_creationOrder.back());
    }
}
