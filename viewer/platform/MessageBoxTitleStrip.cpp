#include "platform/MessageBoxTitleStrip.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "platform/MessageBoxTheme.h"

namespace {

constexpr int kHeight = 36;
constexpr int kCaptionLeft = 38;
constexpr int kCloseWidth = 44;
constexpr int kCaptionGap = 12;
// A long title is cut short rather than stretching the box past this.
constexpr int kWidestCaption = 440;
constexpr int kCaptionPixels = 13;

}  // namespace

MessageBoxTitleStrip::MessageBoxTitleStrip(QWidget* window) : QWidget(window), m_window(window) {
    setMouseTracking(true);
    setFixedHeight(kHeight);
    setFont(MessageBoxTheme::font(kCaptionPixels, QFont::Medium));
}

QRect MessageBoxTitleStrip::closeButtonRect() const {
    return {width() - kCloseWidth, 0, kCloseWidth, height()};
}

QSize MessageBoxTitleStrip::sizeHint() const {
    const int caption = QFontMetrics(font()).horizontalAdvance(m_window->windowTitle());
    return {kCaptionLeft + std::min(caption, kWidestCaption) + kCaptionGap + kCloseWidth, kHeight};
}

void MessageBoxTitleStrip::paintEvent(QPaintEvent*) {
    using namespace MessageBoxTheme;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(kStrip));
    painter.fillRect(QRect(0, height() - 1, width(), 1), QColor(kLine));
    paintMark(painter);

    const QRect caption(kCaptionLeft, 0, closeButtonRect().left() - kCaptionGap - kCaptionLeft,
                        height() - 1);
    painter.setPen(QColor(kCaption));
    painter.drawText(
        caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        fontMetrics().elidedText(m_window->windowTitle(), Qt::ElideRight, caption.width()));
    paintCloseButton(painter);
}

// The program's mark, as the other windows show it at the start of their strips.
void MessageBoxTitleStrip::paintMark(QPainter& painter) const {
    using namespace MessageBoxTheme;
    const QRectF mark(12, (height() - 18) / 2.0, 18, 18);
    QLinearGradient fill(mark.topLeft(), mark.bottomRight());
    fill.setColorAt(0, QColor(kLogoTop));
    fill.setColorAt(1, QColor(kLogoBottom));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(mark, 4.5, 4.5);
    const QPointF centre = mark.center();
    painter.setBrush(QColor(kLogoInner));
    painter.drawEllipse(centre, 5.0, 5.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(kLogoRing), 1.1));
    painter.drawEllipse(centre, 3.1, 3.1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kLogoDot));
    painter.drawEllipse(centre, 1.4, 1.4);
}

void MessageBoxTitleStrip::paintCloseButton(QPainter& painter) const {
    using namespace MessageBoxTheme;
    const QRect button = closeButtonRect().adjusted(0, 0, 0, -1);
    if (m_closeHovered) {
        painter.fillRect(button, QColor(m_closeHeld ? kClosePressed : kCloseHover));
    }
    QPen cross(QColor(m_closeHovered ? kText : kCloseGlyph), 1.3);
    cross.setCapStyle(Qt::RoundCap);
    painter.setPen(cross);
    const QPointF centre = QRectF(button).center();
    painter.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
    painter.drawLine(centre + QPointF(4, -4), centre + QPointF(-4, 4));
}

void MessageBoxTitleStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (closeButtonRect().contains(event->position().toPoint())) {
        m_closeHeld = true;
        m_closeHovered = true;
        update();
        return;
    }
    // The window manager moves the box itself where it can (and keeps it on screen); without
    // one, as under a bare X server, the strip moves it.
    QWindow* handle = m_window->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - m_window->pos();
}

void MessageBoxTitleStrip::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_window->move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    const bool hovered = closeButtonRect().contains(event->position().toPoint());
    if (hovered != m_closeHovered) {
        m_closeHovered = hovered;
        update();
    }
}

void MessageBoxTitleStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = false;
    const bool held = m_closeHeld;
    m_closeHeld = false;
    update();
    // Letting go outside the button takes the press back, as with any button.
    if (held && closeButtonRect().contains(event->position().toPoint())) {
        m_window->close();
    }
}

void MessageBoxTitleStrip::leaveEvent(QEvent* event) {
    m_closeHovered = false;
    update();
    QWidget::leaveEvent(event);
}
