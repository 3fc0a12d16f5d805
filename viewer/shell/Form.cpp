#include "shell/Form.h"

#include <QDir>
#include <QWidget>
#include <exception>

#include "platform/SkinHost.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/WindowArrangement.h"

Form::Form(WindowArrangement& windows) : m_windows(windows) {}

Form::~Form() = default;

Application& Form::app() const {
    return m_windows.app();
}

std::unique_ptr<SkinHost> Form::makeSkin() const {
    const auto& make = app().platform().makeSkinHost;
    return make ? make() : nullptr;
}

QString Form::programPath(const QString& relative) const {
    return QDir(app().programFolder()).filePath(relative);
}

bool Form::loadAndApply(SkinHost* host, const QString& path, QWidget* window, QString* error) {
    if (host == nullptr) {
        if (error != nullptr) {
            *error = path + QStringLiteral(": the program has no skin engine");
        }
        return false;
    }
    if (!host->loadSkin(path, error)) {
        return false;
    }
    host->applySkin(window);
    return true;
}

QString Form::textOr(int textId) const {
    return app().textOr(textId);
}

MessageBoxService::Answer Form::message(MessageBoxService::Icon icon,
                                        MessageBoxService::Buttons buttons, int titleId,
                                        const QString& text) const {
    MessageBoxService* boxes = app().platform().messageBoxes;
    if (boxes == nullptr) {
        return MessageBoxService::defaultAnswer(buttons);
    }
    return boxes->show(icon, buttons, textOr(titleId), text);
}

void Form::reportMissingSystemFile() const {
    message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
            TextId::kWarningTitle, textOr(TextId::kSystemFileMissing));
}
