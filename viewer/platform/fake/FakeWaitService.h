#pragma once

#include <QList>
#include <functional>

#include "platform/WaitService.h"

// Returns at once. The test's hook runs inside each wait, where the real service would let
// timers and page callbacks run: that is how a test makes the world change during a wait
// (a file appears, a timer ticks).
class FakeWaitService : public WaitService {
  public:
    void sleep(int milliseconds) override;
    void processPendingEvents() override;

    void setOnSleep(std::function<void(int milliseconds)> hook) { m_onSleep = std::move(hook); }
    void setOnProcessEvents(std::function<void()> hook) { m_onProcess = std::move(hook); }

    const QList<int>& sleeps() const { return m_sleeps; }
    long long sleptMilliseconds() const;
    int processEventsCalls() const { return m_processCalls; }

  private:
    QList<int> m_sleeps;
    int m_processCalls = 0;
    std::function<void(int)> m_onSleep;
    std::function<void()> m_onProcess;
};
