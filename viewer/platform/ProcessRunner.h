#pragma once

#include <memory>

class ChildProcess;
class QString;
#include <QtContainerFwd>

// Starts programs directly, never through a shell, so a recording's path with blanks or
// quotes reaches the program as one argument.
class ProcessRunner {
  public:
    virtual ~ProcessRunner();

    // Returns nullptr when the program cannot be started.
    virtual std::unique_ptr<ChildProcess> start(const QString& program,
                                                const QStringList& arguments,
                                                const QString& workingFolder) = 0;

    // Starts a program that outlives this one (the restart after a language change).
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) = 0;
};
