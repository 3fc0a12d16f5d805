#include "platform/fake/FakeMessageBoxService.h"

MessageBoxService::Answer FakeMessageBoxService::show(Icon icon, Buttons buttons,
                                                      const QString& title, const QString& text) {
    m_shown.append({icon, buttons, title, text});
    if (m_answers.empty()) {
        return defaultAnswer(buttons);
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
