#include "platform/MessageBoxDialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/MessageBoxButton.h"
#include "platform/MessageBoxSymbol.h"
#include "platform/MessageBoxText.h"
#include "platform/MessageBoxTheme.h"
#include "platform/MessageBoxTitleStrip.h"

namespace {

using Answer = MessageBoxService::Answer;
using Buttons = MessageBoxService::Buttons;

// Even "OK?" gets a box wide enough to look like one.
constexpr int kNarrowest = 340;

// The answers of each set, left to right, in the order desktop boxes put them.
std::vector<Answer> answersOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return {Answer::Ok};
        case Buttons::OkCancel:
            return {Answer::Ok, Answer::Cancel};
        case Buttons::YesNo:
            return {Answer::Yes, Answer::No};
        case Buttons::YesNoCancel:
            return {Answer::Yes, Answer::No, Answer::Cancel};
        case Buttons::RetryCancel:
            return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

// A box must not open behind one of the viewer's own windows that stays on top, such as the
// splash shown while start-up loads the frame: start-up reports its failures then.
bool anotherWindowStaysOnTop() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* window) {
        return window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
}

}  // namespace

MessageBoxDialog::MessageBoxDialog(MessageBoxService::Icon icon, Buttons buttons,
                                   const QString& title, const QString& text, const Labels& labels,
                                   QWidget* owner)
    // Owned by no window: a window that goes while the box is open (the splash, whose time
    // runs out during a start-up message) would otherwise take the box with it.
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      m_buttons(buttons),
      m_answer(escapeAnswer(buttons)) {
    setWindowFlag(Qt::WindowStaysOnTopHint, anotherWindowStaysOnTop());
    setWindowModality(Qt::ApplicationModal);
    if (owner != nullptr && owner->window()->windowHandle() != nullptr) {
        // Still kept above its owner by the window manager; the link ends with the owner.
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    setWindowTitle(title);

    auto* column = new QVBoxLayout(this);
    // One pixel all round for the box's edge, drawn by paintEvent.
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    auto* strip = new MessageBoxTitleStrip(this);
    strip->setMinimumWidth(kNarrowest);
    column->addWidget(strip);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(24, 22, 28, 22);
    body->setSpacing(18);
    auto* message = new MessageBoxText(text, this);
    if (icon != MessageBoxService::Icon::None) {
        body->addWidget(new MessageBoxSymbol(icon, this), 0, Qt::AlignTop);
    }
    // A line or two stands level with the sign; a longer message starts at its top.
    const bool level = message->height() < MessageBoxSymbol::kSize;
    body->addWidget(message, 0, level ? Qt::AlignVCenter : Qt::AlignTop);
    // What a short message leaves of the box's width stays on the right.
    body->addStretch(1);
    column->addLayout(body);

    m_footer = new QWidget(this);
    auto* row = new QHBoxLayout(m_footer);
    row->setContentsMargins(16, 12, 16, 12);
    row->setSpacing(6);
    row->addStretch(1);
    for (const Answer answer : answersOf(buttons)) {
        auto* button = new MessageBoxButton(answer, labels(answer), m_footer);
        connect(button, &QAbstractButton::clicked, this, [this, answer] { answerWith(answer); });
        row->addWidget(button);
        m_buttonWidgets.append(button);
        if (answer == MessageBoxService::defaultAnswer(buttons)) {
            button->setFocus(Qt::OtherFocusReason);
        }
    }
    column->addWidget(m_footer);
    placeOver(owner);
}

// Centred over the owner's window, or on the screen when there is none, and kept on that
// screen. Placed here rather than by the window system or QDialog, whose guess at a frame
// this box does not have would set it off centre.
void MessageBoxDialog::placeOver(QWidget* owner) {
    adjustSize();
    QScreen* screen =
        owner != nullptr ? owner->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QRect over = owner != nullptr ? owner->window()->frameGeometry() : available;
    QRect box(QPoint(), size());
    box.moveCenter(over.center());
    // On a screen too small for it the box keeps its title strip and left edge in sight.
    box.moveLeft(
        std::max(available.left(), std::min(box.left(), available.right() - box.width() + 1)));
    box.moveTop(
        std::max(available.top(), std::min(box.top(), available.bottom() - box.height() + 1)));
    move(box.topLeft());
}

MessageBoxService::Answer MessageBoxDialog::escapeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
    }
    return Answer::Cancel;
}

void MessageBoxDialog::reject() {
    m_answer = escapeAnswer(m_buttons);
    QDialog::reject();
}

void MessageBoxDialog::answerWith(Answer answer) {
    m_answer = answer;
    done(QDialog::Accepted);
}

void MessageBoxDialog::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // Tabbing to a button is how the user picks it: Enter takes that one.
        for (MessageBoxButton* button : m_buttonWidgets) {
            if (focusWidget() == button) {
                answerWith(button->answer());
                return;
            }
        }
        answerWith(MessageBoxService::defaultAnswer(m_buttons));
        return;
    }
    // Esc, and the rest as any dialog handles them.
    QDialog::keyPressEvent(event);
}

void MessageBoxDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(MessageBoxTheme::kBackground));
    const QRect footer = m_footer->geometry();
    painter.fillRect(footer, QColor(MessageBoxTheme::kFooter));
    painter.fillRect(QRect(footer.left(), footer.top(), footer.width(), 1),
                     QColor(MessageBoxTheme::kLine));
    painter.setPen(QColor(MessageBoxTheme::kLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
