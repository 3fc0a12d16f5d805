#include "platform/fake/FakeWaitService.h"

void FakeWaitService::sleep(int milliseconds) {
    m_sleeps.append(milliseconds);
    if (m_onSleep) {
        m_onSleep(milliseconds);
    }
}

void FakeWaitService::processPendingEvents() {
    ++m_processCalls;
    if (m_onProcess) {
        m_onProcess();
    }
}

long long FakeWaitService::sleptMilliseconds() const {
    long long total = 0;
    for (const int ms : m_sleeps) {
        total += ms;
    }
    return total;
}
