#pragma once

#include <iosfwd>

#include "platform/MessageBoxService.h"

// Installer mode runs without a display (from scripts, over ssh): its messages go to the
// error stream, and every box takes its first button as the answer.
class ConsoleMessageBoxService : public MessageBoxService {
  public:
    explicit ConsoleMessageBoxService(std::ostream& out);

    Answer show(Icon icon, Buttons buttons, const QString& title, const QString& text) override;

  private:
    std::ostream& m_out;
};
