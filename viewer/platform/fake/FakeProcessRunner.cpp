#include "platform/fake/FakeProcessRunner.h"

std::unique_ptr<ChildProcess> FakeProcessRunner::start(const QString& program,
                                                       const QStringList& arguments,
                                                       const QString& workingFolder) {
    if (m_startFails) {
        m_started.append({program, arguments, workingFolder, false, nullptr});
        return nullptr;
    }
    auto state = std::make_shared<FakeProcessState>();
    m_started.append({program, arguments, workingFolder, false, state});
    return std::make_unique<FakeChildProcess>(state);
}

bool FakeProcessRunner::startDetached(const QString& program, const QStringList& arguments,
                                      const QString& workingFolder) {
    m_started.append({program, arguments, workingFolder, true, nullptr});
    return !m_startFails;
}
