#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/ProcessRunner.h"
#include "platform/fake/FakeChildProcess.h"

// Records every start. Started programs run until the test ends them through their state.
class FakeProcessRunner : public ProcessRunner {
  public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingFolder;
        bool detached;
        // Null for detached starts and for starts that failed.
        std::shared_ptr<FakeProcessState> state;
    };

    std::unique_ptr<ChildProcess> start(const QString& program, const QStringList& arguments,
                                        const QString& workingFolder) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) override;

    // Makes every following start fail, as for a missing program.
    void setStartFails(bool fails) { m_startFails = fails; }
    const QList<Started>& started() const { return m_started; }

  private:
    QList<Started> m_started;
    bool m_startFails = false;
};
