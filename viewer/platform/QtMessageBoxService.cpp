#include "platform/QtMessageBoxService.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(MessageBoxService::Icon icon) {
    switch (icon) {
        case MessageBoxService::Icon::Critical:
            return QMessageBox::Critical;
        case MessageBoxService::Icon::Question:
            return QMessageBox::Question;
        case MessageBoxService::Icon::Exclamation:
            return QMessageBox::Warning;
        case MessageBoxService::Icon::Information:
            return QMessageBox::Information;
        case MessageBoxService::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageBoxService::Buttons buttons) {
    switch (buttons) {
        case MessageBoxService::Buttons::Ok:
            return QMessageBox::Ok;
        case MessageBoxService::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageBoxService::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageBoxService::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageBoxService::Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// A box closed by its window button counts as its escape answer.
MessageBoxService::Answer escapeAnswer(MessageBoxService::Buttons buttons) {
    switch (buttons) {
        case MessageBoxService::Buttons::Ok:
            return MessageBoxService::Answer::Ok;
        case MessageBoxService::Buttons::YesNo:
            return MessageBoxService::Answer::No;
        default:
            return MessageBoxService::Answer::Cancel;
    }
}

}  // namespace

MessageBoxService::Answer QtMessageBoxService::show(Icon icon, Buttons buttons,
                                                    const QString& title, const QString& text) {
    QMessageBox box(toQt(icon), title, text, toQt(buttons), QApplication::activeWindow());
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return escapeAnswer(buttons);
    }
}
