#include "platform/ConsoleMessageBoxService.h"

#include <QString>
#include <ostream>

ConsoleMessageBoxService::ConsoleMessageBoxService(std::ostream& out) : m_out(out) {}

MessageBoxService::Answer ConsoleMessageBoxService::show(Icon /*icon*/, Buttons buttons,
                                                         const QString& title,
                                                         const QString& text) {
    QString line = title.trimmed();
    if (!line.isEmpty()) {
        line += QStringLiteral(": ");
    }
    line += text;
    m_out << line.toStdString() << '\n';
    m_out.flush();
    return defaultAnswer(buttons);
}
