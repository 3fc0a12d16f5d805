#pragma once

#include <QList>
#include <QString>
#include <deque>

#include "platform/MessageBoxService.h"

// Records every box and answers from a queue; with the queue empty a box takes its first
// button, as Enter would.
class FakeMessageBoxService : public MessageBoxService {
  public:
    struct Shown {
        Icon icon;
        Buttons buttons;
        QString title;
        QString text;
    };

    Answer show(Icon icon, Buttons buttons, const QString& title, const QString& text) override;

    void queueAnswer(Answer answer) { m_answers.push_back(answer); }
    const QList<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

  private:
    QList<Shown> m_shown;
    std::deque<Answer> m_answers;
};
