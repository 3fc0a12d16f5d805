#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

// The title strip of a message box, in place of the window system's frame, drawn like the
// skins' strips: the program's mark, the box's title and a close button. Dragging the strip
// moves the box; the close button closes it, which answers like Esc.
class MessageBoxTitleStrip : public QWidget {
    Q_OBJECT

  public:
    explicit MessageBoxTitleStrip(QWidget* window);

    QRect closeButtonRect() const;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void paintMark(QPainter& painter) const;
    void paintCloseButton(QPainter& painter) const;

    QWidget* m_window;
    bool m_closeHovered = false;
    bool m_closeHeld = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
