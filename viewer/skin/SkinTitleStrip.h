#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>

class QtSkinElement;
class SkinDocument;

// The title strip a skin draws in place of the window system's frame: the window's caption,
// a minimise and a close button, and dragging the strip moves the window. Close asks the
// window to close, so its own close handling (the exit question) still runs. Double-clicking
// does nothing: skinned windows keep their size.
class SkinTitleStrip : public QWidget {
    Q_OBJECT

  public:
    explicit SkinTitleStrip(QWidget* window);

    void setContent(std::shared_ptr<const SkinDocument> document, QtSkinElement* minimise,
                    QtSkinElement* close);

    QtSkinElement* buttonAt(QPoint point) const;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QRect toLocal(const QRect& windowRect) const;
    void activate(QtSkinElement* button);

    QWidget* m_window;
    std::shared_ptr<const SkinDocument> m_document;
    QtSkinElement* m_minimise = nullptr;
    QtSkinElement* m_close = nullptr;
    QtSkinElement* m_hovered = nullptr;
    QtSkinElement* m_held = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
