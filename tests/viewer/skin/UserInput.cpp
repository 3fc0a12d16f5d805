#include "UserInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

QWidget* UserInput::under(QPoint at) const {
    QWidget* child = m_window.childAt(at);
    return child != nullptr ? child : &m_window;
}

void UserInput::send(QWidget* target, int type, QPoint at, Qt::MouseButton button,
                     Qt::MouseButtons buttons) {
    const QPoint local = target->mapFrom(&m_window, at);
    QMouseEvent event(static_cast<QEvent::Type>(type), QPointF(local),
                      QPointF(m_window.mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void UserInput::hover(QPoint at) {
    QWidget* target = under(at);
    if (m_hovered && m_hovered != target) {
        QEvent left(QEvent::Leave);
        QApplication::sendEvent(m_hovered, &left);
    }
    m_hovered = target;
    send(target, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

void UserInput::leave() {
    if (m_hovered) {
        QEvent left(QEvent::Leave);
        QApplication::sendEvent(m_hovered, &left);
    }
    m_hovered = nullptr;
}

void UserInput::press(QPoint at, Qt::MouseButton button) {
    hover(at);
    m_grabbed = under(at);
    m_buttons |= button;
    send(m_grabbed, QEvent::MouseButtonPress, at, button, m_buttons);
}

void UserInput::move(QPoint at) {
    if (!m_grabbed) {
        hover(at);
        return;
    }
    send(m_grabbed, QEvent::MouseMove, at, Qt::NoButton, m_buttons);
}

void UserInput::release(QPoint at, Qt::MouseButton button) {
    QWidget* target = m_grabbed ? m_grabbed.data() : under(at);
    m_buttons &= ~Qt::MouseButtons(button);
    send(target, QEvent::MouseButtonRelease, at, button, m_buttons);
    m_grabbed = nullptr;
}

void UserInput::click(QPoint at, Qt::MouseButton button) {
    press(at, button);
    release(at, button);
}

void UserInput::key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &up);
}
