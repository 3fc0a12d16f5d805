#pragma once

class QString;

// Every message the user sees goes through here, so window logic can be tested without a
// display and with exact assertions on icon, title and text.
class MessageBoxService {
  public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~MessageBoxService();

    // Shows the box and waits for the user's answer.
    virtual Answer show(Icon icon, Buttons buttons, const QString& title, const QString& text) = 0;

    // The answer a box gives when the user just presses Enter: its first button.
    static Answer defaultAnswer(Buttons buttons);
};
