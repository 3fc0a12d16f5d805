#pragma once

#include "platform/WaitService.h"

class QtWaitService : public WaitService {
  public:
    void sleep(int milliseconds) override;
    void processPendingEvents() override;
};
