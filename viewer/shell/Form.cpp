#include "shell/Form.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <exception>
#include <iostream>

#include "platform/SkinHost.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"

Form::Form(Windows& windows) : m_windows(windows) {}

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
    QString reason;
    if (!host->loadSkin(path, &reason)) {
        // The user sees the window's own message; whoever looks into a broken install sees
        // what exactly is wrong.
        std::cerr << "harventis-dvr-tools: " << reason.toStdString() << std::endl;
        if (error != nullptr) {
            *error = reason;
        }
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

void Form::placeCentred(QWidget& window, QSize size, ScreenArea area, bool clampTopLeft) {
    if (m_placing) {
        return;
    }
    const QWidget* owner = window.parentWidget();
    const QScreen* screen = owner != nullptr && owner->screen() != nullptr
                                ? owner->screen()
                                : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    m_placing = true;
    const QRect available =
        area == ScreenArea::Whole ? screen->geometry() : screen->availableGeometry();
    window.setGeometry(WindowGeometry::centredIn(available, size, clampTopLeft));
    m_placing = false;
}
