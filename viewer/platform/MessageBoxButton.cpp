#include "platform/MessageBoxButton.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "platform/MessageBoxTheme.h"

namespace {

constexpr int kRingSpace = 3;
constexpr int kHeight = 32;
constexpr int kMinimumWidth = 88;
constexpr int kPadding = 18;
constexpr qreal kRadius = 8;

}  // namespace

MessageBoxButton::MessageBoxButton(MessageBoxService::Answer answer, const QString& label,
                                   QWidget* parent)
    : QAbstractButton(parent), m_answer(answer) {
    setText(label);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    // Sized for the bold label, so a button keeps its width when the focus gives it that look.
    setFont(MessageBoxTheme::font(13, QFont::Bold));
}

QSize MessageBoxButton::sizeHint() const {
    const int label = QFontMetrics(font()).horizontalAdvance(text());
    return {std::max(kMinimumWidth, label + 2 * kPadding) + 2 * kRingSpace,
            kHeight + 2 * kRingSpace};
}

void MessageBoxButton::paintEvent(QPaintEvent*) {
    using namespace MessageBoxTheme;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(kRingSpace, kRingSpace, -kRingSpace, -kRingSpace);
    const bool hovered = underMouse();
    const bool pressed = isDown();
    // The focus stays with the button while another program is in front; so does its look.
    const bool takesEnter = window()->focusWidget() == this;

    QColor label;
    QFont labelFont = font();
    if (takesEnter) {
        if (pressed) {
            painter.setBrush(QColor(kPrimaryPressed));
        } else {
            QLinearGradient fill(body.topLeft(), body.bottomLeft());
            fill.setColorAt(0, QColor(hovered ? kPrimaryHoverTop : kPrimaryTop));
            fill.setColorAt(1, QColor(hovered ? kPrimaryHoverBottom : kPrimaryBottom));
            painter.setBrush(fill);
        }
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(body, kRadius, kRadius);
        label = QColor(pressed ? kPrimaryPressedLabel : kPrimaryLabel);
    } else {
        const QRgb fill = pressed ? kPillPressed : hovered ? kPillHover : kPill;
        painter.setBrush(QColor(fill));
        painter.setPen(QPen(QColor(pressed || hovered ? kFocus : kPillEdge), 1));
        const QRectF edge = body.adjusted(0.5, 0.5, -0.5, -0.5);
        painter.drawRoundedRect(edge, kRadius - 0.5, kRadius - 0.5);
        label = pressed ? QColor(kFocus) : hovered ? QColor(kText) : QColor(kPillLabel);
        labelFont.setWeight(QFont::Medium);
    }

    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(kFocus), 2));
        const QRectF ring = QRectF(rect()).adjusted(1, 1, -1, -1);
        painter.drawRoundedRect(ring, kRadius + 2, kRadius + 2);
    }

    painter.setFont(labelFont);
    painter.setPen(label);
    painter.drawText(body, Qt::AlignCenter | Qt::TextSingleLine, text());
}
