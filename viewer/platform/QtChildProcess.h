#pragma once

#include <QPointer>

#include "platform/ChildProcess.h"

class QProcess;

// The process object belongs to QtProcessRunner and deletes itself once the program ends,
// so a handle given up while the program still runs leaves no zombie and no dangling object.
class QtChildProcess : public ChildProcess {
  public:
    explicit QtChildProcess(QProcess* process);

    bool isRunning() override;
    void kill() override;

  private:
    QPointer<QProcess> m_process;
};
