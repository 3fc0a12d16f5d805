#pragma once

#include "platform/MessageBoxService.h"

// Modal boxes over the active window.
class QtMessageBoxService : public MessageBoxService {
  public:
    Answer show(Icon icon, Buttons buttons, const QString& title, const QString& text) override;
};
