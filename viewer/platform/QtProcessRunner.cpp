#include "platform/QtProcessRunner.h"

#include <QProcess>

#include "platform/QtChildProcess.h"

std::unique_ptr<ChildProcess> QtProcessRunner::start(const QString& program,
                                                     const QStringList& arguments,
                                                     const QString& workingFolder) {
    auto* process = new QProcess(&m_owner);
    process->setProgram(program);
    process->setArguments(arguments);
    if (!workingFolder.isEmpty()) {
        process->setWorkingDirectory(workingFolder);
    }
    // The extraction tool prints nothing we read; its output must not fill a pipe.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return nullptr;
    }
    return std::make_unique<QtChildProcess>(process);
}

bool QtProcessRunner::startDetached(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}
