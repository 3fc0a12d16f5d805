#pragma once

#include <QPoint>
#include <QPointer>
#include <Qt>

class QWidget;

// Mouse and keyboard input as the user gives it to a window, at window coordinates. Each
// event goes to the widget under the pointer, or to the widget that took the button press,
// the way the window system delivers them.
class UserInput {
  public:
    explicit UserInput(QWidget& window) : m_window(window) {}

    void hover(QPoint at);
    void leave();
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    void move(QPoint at);
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton);

    // A key press and release sent to target.
    static void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

  private:
    QWidget* under(QPoint at) const;
    void send(QWidget* target, int type, QPoint at, Qt::MouseButton button,
              Qt::MouseButtons buttons);

    QWidget& m_window;
    QPointer<QWidget> m_grabbed;
    QPointer<QWidget> m_hovered;
    Qt::MouseButtons m_buttons;
};
