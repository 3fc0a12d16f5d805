#include "skin/SkinSurface.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <algorithm>

#include "skin/QtSkinElement.h"
#include "skin/SkinDocument.h"

namespace {

// Hover and pressed thumbs may reach a little beyond their element.
constexpr int kOverdraw = 4;

qreal along(const QtSkinElement& element, QPointF point) {
    return element.definition().orientation == Qt::Horizontal ? point.x() : point.y();
}

}  // namespace

SkinSurface::SkinSurface(QWidget* window) : QWidget(window) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinSurface::setContent(std::shared_ptr<const SkinDocument> document,
                             std::vector<QtSkinElement*> elements) {
    m_document = std::move(document);
    m_elements = std::move(elements);
    m_hovered = nullptr;
    m_held = nullptr;
    m_focused = nullptr;
    m_showFocus = false;
    setFocusPolicy(focusChain().empty() ? Qt::NoFocus : Qt::StrongFocus);
    update();
}

void SkinSurface::setHandlers(ClickHandler click, ValueHandler value) {
    m_click = std::move(click);
    m_value = std::move(value);
}

void SkinSurface::repaintElement(const QRect& rect) {
    update(rect.adjusted(-kOverdraw, -kOverdraw, kOverdraw, kOverdraw));
}

QtSkinElement* SkinSurface::elementAt(QPointF point) const {
    for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
        if ((*it)->definition().takesInput() && QRectF((*it)->rect()).contains(point)) {
            return *it;
        }
    }
    return nullptr;
}

std::vector<QtSkinElement*> SkinSurface::focusChain() const {
    std::vector<QtSkinElement*> chain;
    for (QtSkinElement* element : m_elements) {
        if (element->definition().takesInput()) {
            chain.push_back(element);
        }
    }
    return chain;
}

bool SkinSurface::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
            if ((*it)->rect().contains(help->pos()) && !(*it)->definition().tip.isEmpty()) {
                QToolTip::showText(help->globalPos(), (*it)->definition().tip, this, (*it)->rect());
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void SkinSurface::paintEvent(QPaintEvent* event) {
    if (!m_document) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(event->rect(), m_document->backgroundColor);
    m_document->background.draw(painter, QRectF(rect()));
    for (const QtSkinElement* element : m_elements) {
        const QRect reach = element->rect().adjusted(-kOverdraw, -kOverdraw, kOverdraw, kOverdraw);
        if (!reach.intersects(event->rect())) {
            continue;
        }
        QtSkinElement::Interaction interaction;
        interaction.hovered = element == m_hovered && (m_held == nullptr || m_held == element);
        interaction.held = element == m_held && m_heldInside;
        element->paint(painter, interaction);
    }
    if (m_showFocus && m_focused != nullptr && hasFocus()) {
        QPen pen(m_document->focusColor, 2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // Square controls are the round ones: their ring is round too.
        const QRectF ring = QRectF(m_focused->rect()).adjusted(-1, -1, 1, 1);
        const qreal radius = ring.width() == ring.height() ? ring.width() / 2 : 6;
        painter.drawRoundedRect(ring, radius, radius);
    }
}

void SkinSurface::setHovered(QtSkinElement* element) {
    if (m_hovered == element) {
        return;
    }
    if (m_hovered != nullptr) {
        repaintElement(m_hovered->rect());
    }
    m_hovered = element;
    if (m_hovered != nullptr) {
        repaintElement(m_hovered->rect());
    }
}

void SkinSurface::setFocused(QtSkinElement* element, bool showFocus) {
    if (m_focused != nullptr) {
        repaintElement(m_focused->rect());
    }
    m_focused = element;
    m_showFocus = showFocus;
    if (m_focused != nullptr) {
        repaintElement(m_focused->rect());
    }
}

void SkinSurface::release() {
    if (m_held != nullptr) {
        repaintElement(m_held->rect());
    }
    m_held = nullptr;
    m_heldByKey = false;
}

bool SkinSurface::click(QtSkinElement* element) {
    QPointer<SkinSurface> self(this);
    // A copy: the handler may replace the host's handler or close the window.
    const ClickHandler handler = m_click;
    if (handler) {
        handler(*element);
    }
    return !self.isNull();
}

bool SkinSurface::userValue(QtSkinElement* element, int value) {
    QPointer<SkinSurface> self(this);
    m_lastValue = value;
    element->setSliderValue(value);
    const ValueHandler handler = m_value;
    if (handler) {
        handler(*element, element->sliderValue());
    }
    return !self.isNull();
}

void SkinSurface::mousePressEvent(QMouseEvent* event) {
    QtSkinElement* element =
        event->button() == Qt::LeftButton ? elementAt(event->position()) : nullptr;
    if (element == nullptr || m_held != nullptr) {
        event->ignore();
        return;
    }
    if (focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::MouseFocusReason);
    }
    setFocused(element, false);
    m_held = element;
    m_heldInside = true;
    m_heldByKey = false;
    repaintElement(element->rect());
    if (element->kind() != SkinDocument::Kind::Slider) {
        return;
    }
    const QRectF thumb = element->thumbRect();
    if (!thumb.isEmpty() && thumb.contains(event->position())) {
        // Taking the thumb starts a drag without moving anything yet.
        m_grab = along(*element, event->position()) - along(*element, thumb.center());
        m_lastValue = element->sliderValue();
        return;
    }
    m_grab = 0;
    userValue(element, element->valueAt(event->position()));
}

void SkinSurface::mouseMoveEvent(QMouseEvent* event) {
    if (m_held == nullptr || m_heldByKey) {
        setHovered(elementAt(event->position()));
        return;
    }
    QtSkinElement* element = m_held;
    if (element->kind() == SkinDocument::Kind::Slider) {
        QPointF point = event->position();
        if (element->definition().orientation == Qt::Horizontal) {
            point.rx() -= m_grab;
        } else {
            point.ry() -= m_grab;
        }
        const int value = element->valueAt(point);
        if (value != m_lastValue) {
            userValue(element, value);
        }
        return;
    }
    // A held button shows pressed only while the pointer is over it, as letting go there
    // is what clicks it.
    const bool inside = QRectF(element->rect()).contains(event->position());
    setHovered(inside ? element : nullptr);
    if (inside != m_heldInside) {
        m_heldInside = inside;
        repaintElement(element->rect());
    }
}

void SkinSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_held == nullptr || m_heldByKey) {
        event->ignore();
        return;
    }
    QtSkinElement* element = m_held;
    const bool inside = QRectF(element->rect()).contains(event->position());
    release();
    setHovered(elementAt(event->position()));
    if (element->definition().isInteractive() && inside) {
        click(element);
    }
}

void SkinSurface::leaveEvent(QEvent* event) {
    setHovered(nullptr);
    QWidget::leaveEvent(event);
}

void SkinSurface::keyPressEvent(QKeyEvent* event) {
    QtSkinElement* element = m_focused;
    if (element == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    const SkinDocument::Element& d = element->definition();
    if (d.isInteractive()) {
        switch (event->key()) {
            case Qt::Key_Space:
                if (!event->isAutoRepeat() && m_held == nullptr) {
                    m_held = element;
                    m_heldInside = true;
                    m_heldByKey = true;
                }
                setFocused(element, true);
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                setFocused(element, true);
                click(element);
                return;
            default:
                QWidget::keyPressEvent(event);
                return;
        }
    }
    if (element->kind() != SkinDocument::Kind::Slider) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int page = std::max(d.step, (d.maximum - d.minimum) / 10);
    int value = element->sliderValue();
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            value -= d.step;
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            value += d.step;
            break;
        case Qt::Key_PageDown:
            value -= page;
            break;
        case Qt::Key_PageUp:
            value += page;
            break;
        case Qt::Key_Home:
            value = d.minimum;
            break;
        case Qt::Key_End:
            value = d.maximum;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    setFocused(element, true);
    value = element->clamped(value);
    if (value != element->sliderValue()) {
        userValue(element, value);
    }
}

void SkinSurface::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_heldByKey &&
        m_held != nullptr) {
        QtSkinElement* element = m_held;
        release();
        click(element);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void SkinSurface::focusInEvent(QFocusEvent* event) {
    const std::vector<QtSkinElement*> chain = focusChain();
    if (!chain.empty() && event->reason() == Qt::TabFocusReason) {
        setFocused(chain.front(), true);
    } else if (!chain.empty() && event->reason() == Qt::BacktabFocusReason) {
        setFocused(chain.back(), true);
    }
    QWidget::focusInEvent(event);
}

void SkinSurface::focusOutEvent(QFocusEvent* event) {
    if (m_heldByKey) {
        release();
    }
    if (m_focused != nullptr) {
        repaintElement(m_focused->rect());
    }
    QWidget::focusOutEvent(event);
}

bool SkinSurface::focusNextPrevChild(bool next) {
    // Tab walks the skin's buttons and sliders first, then leaves for the window's other
    // widgets; with none to leave for it goes round.
    const std::vector<QtSkinElement*> chain = focusChain();
    if (!chain.empty()) {
        const auto it = std::find(chain.begin(), chain.end(), m_focused);
        const qsizetype index = it == chain.end() ? -1 : it - chain.begin();
        const qsizetype target =
            next ? index + 1 : (index < 0 ? qsizetype(chain.size()) - 1 : index - 1);
        if (target >= 0 && target < qsizetype(chain.size())) {
            setFocused(chain[size_t(target)], true);
            return true;
        }
    }
    const bool moved = QWidget::focusNextPrevChild(next);
    if (!chain.empty() && window()->focusWidget() == this) {
        setFocused(next ? chain.front() : chain.back(), true);
        return true;
    }
    return moved;
}
