#include "shell/Windows.h"

Windows::Windows(Application& app, EndProgram endProgram)
    : m_app(app), m_endProgram(std::move(endProgram)) {}

bool Windows::runLoad(std::type_index windowClass, Form& form) {
    // Marked first: a Load that reaches a window reaching back finds this one as it is.
    form.m_formLoaded = true;
    if (form.Form_Load()) {
        return true;
    }
    m_refused.insert(windowClass);
    m_app.registry().unload(windowClass);
    return false;
}

void Windows::endProgram(int status) {
    if (m_programEnded) {
        return;
    }
    m_programEnded = true;
    if (m_endProgram) {
        m_endProgram(status);
    }
}
