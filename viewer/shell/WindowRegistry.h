#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "shell/Form.h"

class Application;

// One instance per window class for the whole viewer, made on first use by the factory the
// composition root registers. A window is destroyed only through unload() (or with the
// registry, last made first), never by itself.
//
// Windows reach each other by narrow interfaces rather than by class: the root declares which
// window serves an interface, and window<I>() gives that window as I. The root also declares
// which window another one lives in (its band, its owner): unloading the host unloads its
// guests first, so a widget never deletes a window the registry still holds.
class WindowRegistry {
  public:
    explicit WindowRegistry(Application& app);
    ~WindowRegistry();

    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    template <class W>
    void add(std::function<std::unique_ptr<W>(Application&)> factory);
    // window<I>() is W's instance seen as I.
    template <class I, class W>
    void addInterface();
    // W lives inside Host's window.
    template <class W, class Host>
    void setHost();

    // T is a window class or an interface. Throws std::runtime_error when nothing serves T,
    // its factory fails, or the window is asked for while it is still being made.
    template <class T>
    T& window();
    template <class T>
    bool isLoaded() const;
    template <class T>
    void unload();
    // The Form side of the window behind T, made on first use; nullptr for classes that are
    // not forms.
    template <class T>
    Form* form();

    // The window class that serves T (T itself for a window class).
    std::type_index classOf(std::type_index type) const;
    void unload(std::type_index windowClass);
    void unloadAll();

  private:
    struct Slot {
        std::function<std::shared_ptr<void>(Application&)> create;
        std::function<Form*(void*)> asForm;
        std::optional<std::type_index> host;
        std::shared_ptr<void> instance;
        bool creating = false;
    };
    struct Alias {
        std::type_index windowClass;
        std::function<void*(void*)> cast;
    };

    void* instance(std::type_index requested);
    void* loadedInstance(std::type_index windowClass) const;

    Application& m_app;
    std::map<std::type_index, Slot> m_slots;
    std::map<std::type_index, Alias> m_aliases;
    std::vector<std::type_index> m_creationOrder;
};

template <class W>
void WindowRegistry::add(std::function<std::unique_ptr<W>(Application&)> factory) {
    Slot& slot = m_slots[typeid(W)];
    slot.create = [factory = std::move(factory)](Application& app) {
        return std::shared_ptr<void>(std::shared_ptr<W>(factory(app)));
    };
    if constexpr (std::is_base_of_v<Form, W>) {
        slot.asForm = [](void* window) { return static_cast<Form*>(static_cast<W*>(window)); };
    }
}

template <class I, class W>
void WindowRegistry::addInterface() {
    static_assert(std::is_base_of_v<I, W>, "the window must implement the interface");
    m_aliases.insert_or_assign(std::type_index(typeid(I)),
                               Alias{typeid(W), [](void* window) -> void* {
                                         return static_cast<I*>(static_cast<W*>(window));
                                     }});
}

template <class W, class Host>
void WindowRegistry::setHost() {
    m_slots[typeid(W)].host = std::type_index(typeid(Host));
}

template <class T>
T& WindowRegistry::window() {
    void* found = instance(typeid(T));
    const auto alias = m_aliases.find(typeid(T));
    if (alias != m_aliases.end()) {
        found = alias->second.cast(found);
    }
    return *static_cast<T*>(found);
}

template <class T>
bool WindowRegistry::isLoaded() const {
    return loadedInstance(classOf(typeid(T))) != nullptr;
}

template <class T>
void WindowRegistry::unload() {
    unload(classOf(typeid(T)));
}

template <class T>
Form* WindowRegistry::form() {
    void* found = instance(typeid(T));
    const Slot& slot = m_slots.at(classOf(typeid(T)));
    return slot.asForm ? slot.asForm(found) : nullptr;
}
