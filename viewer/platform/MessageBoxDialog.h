#pragma once

#include <QDialog>
#include <QList>
#include <functional>

#include "platform/MessageBoxService.h"

class MessageBoxButton;
class QKeyEvent;

// A message box in the viewer's theme: frameless, with its own title strip, a sign, the
// message and a button for each answer. Enter takes the button with the focus, which is the
// box's default answer when it opens; Tab and Shift+Tab move between the buttons; Esc and the
// strip's close button give the answer that backs out.
class MessageBoxDialog : public QDialog {
    Q_OBJECT

  public:
    // The label of each button, in the language the user reads.
    using Labels = std::function<QString(MessageBoxService::Answer)>;

    MessageBoxDialog(MessageBoxService::Icon icon, MessageBoxService::Buttons buttons,
                     const QString& title, const QString& text, const Labels& labels,
                     QWidget* owner);

    // The answer the user gave; until then, and when the box is closed in any other way, the
    // one Esc gives.
    MessageBoxService::Answer answer() const { return m_answer; }

    // Esc backs out: No where the box asks yes or no, Cancel where it can be cancelled, OK
    // where there is nothing else.
    static MessageBoxService::Answer escapeAnswer(MessageBoxService::Buttons buttons);

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void placeOver(QWidget* owner);
    void answerWith(MessageBoxService::Answer answer);

    MessageBoxService::Buttons m_buttons;
    MessageBoxService::Answer m_answer;
    QList<MessageBoxButton*> m_buttonWidgets;
    QWidget* m_footer = nullptr;
};
