#include "platform/QtMessageBoxService.h"

#include <QApplication>

#include "platform/MessageBoxDialog.h"

namespace {

QString englishLabel(MessageBoxService::Answer answer) {
    switch (answer) {
        case MessageBoxService::Answer::Ok:
            return QStringLiteral("OK");
        case MessageBoxService::Answer::Cancel:
            return QStringLiteral("Cancel");
        case MessageBoxService::Answer::Yes:
            return QStringLiteral("Yes");
        case MessageBoxService::Answer::No:
            return QStringLiteral("No");
        case MessageBoxService::Answer::Retry:
            return QStringLiteral("Retry");
    }
    return QStringLiteral("OK");
}

}  // namespace

QString QtMessageBoxService::label(Answer answer) const {
    QString text;
    if (m_labels) {
        text = m_labels(answer);
    }
    return text.isEmpty() ? englishLabel(answer) : text;
}

MessageBoxService::Answer QtMessageBoxService::show(Icon icon, Buttons buttons,
                                                    const QString& title, const QString& text) {
    MessageBoxDialog box(
        icon, buttons, title, text, [this](Answer answer) { return label(answer); },
        QApplication::activeWindow());
    box.exec();
    return box.answer();
}
