#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <set>
#include <typeindex>

#include "shell/Application.h"
#include "shell/Form.h"
#include "shell/WindowRegistry.h"

class QWidget;

// The windows as they reach each other: by window class or by a narrow interface that a
// window serves, each made on first use and loaded once. Also the one way a window ends the
// program.
class Windows {
  public:
    // Ends the running program with an exit status.
    using EndProgram = std::function<void(int status)>;

    Windows(Application& app, EndProgram endProgram);

    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    Application& app() const { return m_app; }

    // The window, made on first use and loaded once; nullptr when its Load refused (its skin
    // is missing): it is then unloaded and not tried again until unload<T>().
    template <class T>
    T* load();
    template <class T>
    void unload();
    // Unloaded once the handler that asks has returned, for a window that goes by itself.
    template <class T>
    void unloadSoon();

    // A window has told the user why the program cannot go on. During start-up the remaining
    // steps are skipped; afterwards the event loop ends with the status.
    void endProgram(int status);
    bool programEnded() const { return m_programEnded; }

    // The widget of a window reached through one of its interfaces.
    template <class T>
    static QWidget* widgetOf(T* window) {
        return dynamic_cast<QWidget*>(window);
    }

  private:
    bool runLoad(std::type_index windowClass, Form& form);

    Application& m_app;
    EndProgram m_endProgram;
    bool m_programEnded = false;
    std::set<std::type_index> m_refused;
    // Ends pending deferred unloads when this goes first.
    QObject m_context;
};

template <class T>
T* Windows::load() {
    const std::type_index windowClass = m_app.registry().classOf(typeid(T));
    if (m_refused.count(windowClass) != 0) {
        return nullptr;
    }
    T& window = m_app.registry().window<T>();
    Form* form = m_app.registry().form<T>();
    if (form != nullptr && !form->isFormLoaded() && !runLoad(windowClass, *form)) {
        return nullptr;
    }
    return &window;
}

template <class T>
void Windows::unload() {
    const std::type_index windowClass = m_app.registry().classOf(typeid(T));
    m_refused.erase(windowClass);
    m_app.registry().unload(windowClass);
}

template <class T>
void Windows::unloadSoon() {
    QTimer::singleShot(0, &m_context, [this] { unload<T>(); });
}
