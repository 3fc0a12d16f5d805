#include "platform/QtChildProcess.h"

#include <QProcess>

namespace {
// A killed program is gone almost at once; the limit only guards against a wait that
// never ends.
constexpr int kReapLimitMs = 5000;
}  // namespace

QtChildProcess::QtChildProcess(QProcess* process) : m_process(process) {}

bool QtChildProcess::isRunning() {
    if (m_process == nullptr || m_process->state() == QProcess::NotRunning) {
        return false;
    }
    // Collects an exit that the event loop has not delivered yet, without blocking.
    m_process->waitForFinished(0);
    return m_process != nullptr && m_process->state() != QProcess::NotRunning;
}

void QtChildProcess::kill() {
    if (m_process == nullptr || m_process->state() == QProcess::NotRunning) {
        return;
    }
    m_process->kill();
    m_process->waitForFinished(kReapLimitMs);
}
