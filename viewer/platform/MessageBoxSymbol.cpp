#include "platform/MessageBoxSymbol.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/MessageBoxTheme.h"

namespace {

// A disc in the sign's colour inside a faint halo of it, as the skins light their controls.
void paintDisc(QPainter& painter, const QRectF& area, QRgb colour) {
    QColor halo(colour);
    halo.setAlphaF(0.18F);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(area);
    painter.setBrush(QColor(colour));
    painter.drawEllipse(area.adjusted(4, 4, -4, -4));
}

QPen strokePen(const QColor& colour, qreal width) {
    QPen pen{colour, width};
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace

MessageBoxSymbol::MessageBoxSymbol(MessageBoxService::Icon icon, QWidget* parent)
    : QWidget(parent), m_icon(icon) {
    setFixedSize(kSize, kSize);
}

void MessageBoxSymbol::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    switch (m_icon) {
        case MessageBoxService::Icon::Critical:
            paintCritical(painter, area);
            break;
        case MessageBoxService::Icon::Question:
            paintQuestion(painter, area);
            break;
        case MessageBoxService::Icon::Exclamation:
            paintExclamation(painter, area);
            break;
        case MessageBoxService::Icon::Information:
            paintInformation(painter, area);
            break;
        case MessageBoxService::Icon::None:
            break;
    }
}

void MessageBoxSymbol::paintCritical(QPainter& painter, const QRectF& area) const {
    paintDisc(painter, area, MessageBoxTheme::kCritical);
    const qreal u = area.width() / 42.0;
    painter.setPen(strokePen(QColor(MessageBoxTheme::kText), 3.4 * u));
    const QPointF c = area.center();
    const qreal arm = 6.5 * u;
    painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    painter.drawLine(c + QPointF(arm, -arm), c + QPointF(-arm, arm));
}

void MessageBoxSymbol::paintQuestion(QPainter& painter, const QRectF& area) const {
    paintDisc(painter, area, MessageBoxTheme::kQuestion);
    const QPointF c = area.center();
    const qreal u = area.width() / 42.0;
    QPainterPath hook;
    hook.moveTo(c + QPointF(-5.5 * u, -4 * u));
    hook.cubicTo(c + QPointF(-5.5 * u, -12 * u), c + QPointF(6.5 * u, -12 * u),
                 c + QPointF(6 * u, -4.5 * u));
    hook.cubicTo(c + QPointF(5.5 * u, 0.5 * u), c + QPointF(0, 0), c + QPointF(0, 4.5 * u));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(strokePen(QColor(MessageBoxTheme::kBackground), 3.4 * u));
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(MessageBoxTheme::kBackground));
    painter.drawEllipse(c + QPointF(0, 10 * u), 2.1 * u, 2.1 * u);
}

void MessageBoxSymbol::paintExclamation(QPainter& painter, const QRectF& area) const {
    const qreal u = area.width() / 42.0;
    const QPointF top(area.center().x(), area.top() + 3 * u);
    QPainterPath triangle;
    triangle.moveTo(top);
    triangle.lineTo(area.right() - 2 * u, area.bottom() - 5 * u);
    triangle.lineTo(area.left() + 2 * u, area.bottom() - 5 * u);
    triangle.closeSubpath();
    QColor halo(MessageBoxTheme::kExclamation);
    halo.setAlphaF(0.18F);
    painter.setPen(strokePen(halo, 7 * u));
    painter.setBrush(halo);
    painter.drawPath(triangle);
    // Round corners, as the skins' shapes have.
    painter.setPen(strokePen(QColor(MessageBoxTheme::kExclamation), 4 * u));
    painter.setBrush(QColor(MessageBoxTheme::kExclamation));
    painter.drawPath(triangle);

    const qreal x = area.center().x();
    painter.setPen(strokePen(QColor(MessageBoxTheme::kBackground), 3.4 * u));
    painter.drawLine(QPointF(x, area.top() + 15 * u), QPointF(x, area.top() + 25 * u));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(MessageBoxTheme::kBackground));
    painter.drawEllipse(QPointF(x, area.top() + 31 * u), 2.1 * u, 2.1 * u);
}

void MessageBoxSymbol::paintInformation(QPainter& painter, const QRectF& area) const {
    paintDisc(painter, area, MessageBoxTheme::kInformation);
    const QPointF c = area.center();
    const qreal u = area.width() / 42.0;
    painter.setPen(strokePen(QColor(MessageBoxTheme::kText), 3.4 * u));
    painter.drawLine(c + QPointF(0, -1 * u), c + QPointF(0, 9 * u));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(MessageBoxTheme::kText));
    painter.drawEllipse(c + QPointF(0, -8 * u), 2.3 * u, 2.3 * u);
}
