#pragma once

#include <memory>

#include "platform/ChildProcess.h"

// What the test sees of a started program; it stays readable after the handle is gone.
struct FakeProcessState {
    bool running = true;
    bool killed = false;
    bool handleReleased = false;
};

class FakeChildProcess : public ChildProcess {
  public:
    explicit FakeChildProcess(std::shared_ptr<FakeProcessState> state);
    ~FakeChildProcess() override;

    FakeChildProcess(const FakeChildProcess&) = delete;
    FakeChildProcess& operator=(const FakeChildProcess&) = delete;

    bool isRunning() override;
    void kill() override;

  private:
    std::shared_ptr<FakeProcessState> m_state;
};
