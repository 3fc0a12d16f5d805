#pragma once

#include <QObject>

#include "platform/ProcessRunner.h"

class QtProcessRunner : public ProcessRunner {
  public:
    std::unique_ptr<ChildProcess> start(const QString& program, const QStringList& arguments,
                                        const QString& workingFolder) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) override;

  private:
    // Parent of every started process; programs still running when the viewer ends are
    // killed with it.
    QObject m_owner;
};
