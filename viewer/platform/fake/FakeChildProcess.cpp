#include "platform/fake/FakeChildProcess.h"

#include <utility>

FakeChildProcess::FakeChildProcess(std::shared_ptr<FakeProcessState> state)
    : m_state(std::move(state)) {}

FakeChildProcess::~FakeChildProcess() {
    m_state->handleReleased = true;
}

bool FakeChildProcess::isRunning() {
    return m_state->running;
}

void FakeChildProcess::kill() {
    if (m_state->running) {
        m_state->killed = true;
        m_state->running = false;
    }
}
