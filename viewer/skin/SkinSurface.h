#pragma once

#include <QPointF>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QtSkinElement;
class SkinDocument;

// The skinned face of a window: a child widget at the bottom of the window's stack that
// draws the background and every element and turns the user's mouse and keyboard input into
// click and value events. Whatever the window places in its areas lies above it.
class SkinSurface : public QWidget {
    Q_OBJECT

  public:
    using ClickHandler = std::function<void(QtSkinElement& element)>;
    using ValueHandler = std::function<void(QtSkinElement& element, int value)>;

    explicit SkinSurface(QWidget* window);

    void setContent(std::shared_ptr<const SkinDocument> document,
                    std::vector<QtSkinElement*> elements);
    void setHandlers(ClickHandler click, ValueHandler value);
    void repaintElement(const QRect& rect);

    // The topmost element at a point that takes input, or nullptr.
    QtSkinElement* elementAt(QPointF point) const;
    // The element that keyboard input goes to while the surface has focus.
    QtSkinElement* focusedElement() const { return m_focused; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    std::vector<QtSkinElement*> focusChain() const;
    void setHovered(QtSkinElement* element);
    void setFocused(QtSkinElement* element, bool showFocus);
    void release();
    // Raise the events; the handler may close the window, so the caller must not touch the
    // surface afterwards unless these return true.
    bool click(QtSkinElement* element);
    bool userValue(QtSkinElement* element, int value);

    std::shared_ptr<const SkinDocument> m_document;
    std::vector<QtSkinElement*> m_elements;
    ClickHandler m_click;
    ValueHandler m_value;

    QtSkinElement* m_hovered = nullptr;
    QtSkinElement* m_held = nullptr;
    bool m_heldInside = false;
    bool m_heldByKey = false;
    qreal m_grab = 0;  // where on the thumb a slider was taken, along its axis
    int m_lastValue = 0;
    QtSkinElement* m_focused = nullptr;
    bool m_showFocus = false;
};
