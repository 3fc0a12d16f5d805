#pragma once

#include <QString>
#include <functional>

#include "platform/MessageBoxService.h"

// Modal boxes in the viewer's theme over the active window, or in the middle of the screen
// while no window is open yet.
class QtMessageBoxService : public MessageBoxService {
  public:
    // The label of a button in the current language. Asked each time a box is shown, since
    // the language is chosen during start-up, after the service is made.
    using LabelProvider = std::function<QString(Answer)>;

    // Without a provider, or where it answers with nothing, the buttons read in English.
    void setLabelProvider(LabelProvider provider) { m_labels = std::move(provider); }

    Answer show(Icon icon, Buttons buttons, const QString& title, const QString& text) override;

  private:
    QString label(Answer answer) const;

    LabelProvider m_labels;
};
