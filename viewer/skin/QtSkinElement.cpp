#include "skin/QtSkinElement.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "skin/SkinPicture.h"

QtSkinElement::QtSkinElement(std::shared_ptr<const SkinDocument> document,
                             const SkinDocument::Element& definition)
    : m_document(std::move(document)),
      m_definition(definition),
      m_value(definition.kind == SkinDocument::Kind::Slider ? definition.start : 0),
      m_image(definition.image),
      m_numbers(definition.numbers) {}

void QtSkinElement::changed() const {
    if (m_repaint) {
        m_repaint(m_definition.rect);
    }
}

void QtSkinElement::setLook(Look look) {
    if (m_look != look) {
        m_look = look;
        changed();
    }
}

void QtSkinElement::setPressedFlag(bool pressed) {
    if (m_pressedFlag != pressed) {
        m_pressedFlag = pressed;
        changed();
    }
}

int QtSkinElement::clamped(int value) const {
    if (m_definition.kind != SkinDocument::Kind::Slider) {
        return value;
    }
    return std::clamp(value, m_definition.minimum, m_definition.maximum);
}

void QtSkinElement::setSliderValue(int value) {
    value = clamped(value);
    if (m_value != value) {
        m_value = value;
        changed();
    }
}

void QtSkinElement::setImageReference(const QString& image, const QList<int>& numbers) {
    m_image = image;
    m_numbers = numbers;
    changed();
}

bool QtSkinElement::showsPressed() const {
    return m_look != Look::Normal || m_pressedFlag;
}

qreal QtSkinElement::axisPosition(int value) const {
    const SkinDocument::Element& d = m_definition;
    const QSize thumb = d.thumb.normal.size();
    const qreal share = qreal(clamped(value) - d.minimum) / (d.maximum - d.minimum);
    if (d.orientation == Qt::Horizontal) {
        const qreal usable = d.rect.width() - thumb.width();
        return d.rect.left() + thumb.width() / 2.0 + share * usable;
    }
    const qreal usable = d.rect.height() - thumb.height();
    return d.rect.top() + d.rect.height() - thumb.height() / 2.0 - share * usable;
}

int QtSkinElement::valueAt(QPointF point) const {
    const SkinDocument::Element& d = m_definition;
    if (d.kind != SkinDocument::Kind::Slider) {
        return m_value;
    }
    const QSize thumb = d.thumb.normal.size();
    qreal share = 0;
    if (d.orientation == Qt::Horizontal) {
        const qreal usable = d.rect.width() - thumb.width();
        share = (point.x() - d.rect.left() - thumb.width() / 2.0) / usable;
    } else {
        const qreal usable = d.rect.height() - thumb.height();
        share = (d.rect.top() + d.rect.height() - thumb.height() / 2.0 - point.y()) / usable;
    }
    share = std::clamp(share, 0.0, 1.0);
    return d.minimum + static_cast<int>(std::lround(share * (d.maximum - d.minimum)));
}

QRectF QtSkinElement::thumbRect() const {
    const SkinDocument::Element& d = m_definition;
    const QSizeF thumb(d.thumb.normal.size());
    const qreal at = axisPosition(m_value);
    if (d.orientation == Qt::Horizontal) {
        return QRectF(at - thumb.width() / 2, d.rect.center().y() + 0.5 - thumb.height() / 2,
                      thumb.width(), thumb.height());
    }
    return QRectF(d.rect.center().x() + 0.5 - thumb.width() / 2, at - thumb.height() / 2,
                  thumb.width(), thumb.height());
}

void QtSkinElement::paint(QPainter& painter, Interaction interaction) const {
    switch (m_definition.kind) {
        case SkinDocument::Kind::Button:
        case SkinDocument::Kind::Toggle: {
            SkinDocument::State state = SkinDocument::State::Normal;
            if (interaction.held || showsPressed()) {
                state = SkinDocument::State::Pressed;
            } else if (interaction.hovered) {
                state = SkinDocument::State::Hover;
            }
            paintButton(painter, state);
            break;
        }
        case SkinDocument::Kind::Slider:
            paintSlider(painter, interaction);
            break;
        case SkinDocument::Kind::Picture:
            paintPicture(painter);
            break;
        case SkinDocument::Kind::Text:
            paintText(painter);
            break;
    }
}

void QtSkinElement::paintButton(QPainter& painter, SkinDocument::State state) const {
    const SkinDocument::Element& d = m_definition;
    d.looks.at(state).draw(painter, d.rect);

    // The icon is drawn in the label's colour, like a glyph of the font, so one white icon
    // serves every state.
    const QColor color = d.colors.at(state);
    const SkinDocument::Picture& icon = d.icons.at(state);
    const QRectF content = QRectF(d.rect).marginsRemoved(d.padding);
    const QFontMetricsF metrics(d.font);
    const qreal labelWidth = d.label.isEmpty() ? 0 : metrics.horizontalAdvance(d.label);
    const QSizeF iconSize = icon.isNull() ? QSizeF() : QSizeF(icon.size());
    const qreal gap = (labelWidth > 0 && !icon.isNull()) ? d.gap : 0;
    const qreal total = iconSize.width() + gap + labelWidth;
    qreal x = content.left();
    if (d.align & Qt::AlignHCenter) {
        x = content.left() + (content.width() - total) / 2;
    } else if (d.align & Qt::AlignRight) {
        x = content.right() - total;
    }
    // Whole pixels keep icons and text sharp at 96 dpi.
    x = std::round(x);
    if (!icon.isNull()) {
        const qreal y = std::round(content.center().y() - iconSize.height() / 2);
        icon.draw(painter, QRectF(QPointF(x, y), iconSize), color);
        x += iconSize.width() + gap;
    }
    if (labelWidth > 0) {
        painter.save();
        painter.setFont(d.font);
        painter.setPen(color);
        painter.drawText(QRectF(x, content.top(), content.right() - x + 1, content.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, d.label);
        painter.restore();
    }
}

void QtSkinElement::paintSlider(QPainter& painter, Interaction interaction) const {
    const SkinDocument::Element& d = m_definition;
    const bool horizontal = d.orientation == Qt::Horizontal;
    const QRectF rect(d.rect);
    auto across = [&](const SkinDocument::Picture& picture) {
        // The track and the fill keep their own thickness, centred across the slider.
        if (horizontal) {
            const qreal thickness = picture.size().height();
            return QRectF(rect.left(), std::round(rect.center().y() - thickness / 2), rect.width(),
                          thickness);
        }
        const qreal thickness = picture.size().width();
        return QRectF(std::round(rect.center().x() - thickness / 2), rect.top(), thickness,
                      rect.height());
    };
    if (!d.track.isNull()) {
        d.track.draw(painter, across(d.track));
    }
    const qreal at = axisPosition(m_value);
    if (!d.fill.isNull()) {
        QRectF fill = across(d.fill);
        if (horizontal) {
            fill.setRight(at);
        } else {
            fill.setTop(at);
        }
        if (fill.width() > 0 && fill.height() > 0) {
            d.fill.draw(painter, fill);
        }
    }
    if (!d.mark.isNull()) {
        const QSizeF size(d.mark.size());
        for (int mark : d.marks) {
            const qreal p = axisPosition(mark);
            const QPointF centre = horizontal ? QPointF(p, rect.center().y() + 0.5)
                                              : QPointF(rect.center().x() + 0.5, p);
            d.mark.draw(painter,
                        QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size));
        }
    }
    if (!d.thumb.normal.isNull()) {
        SkinDocument::State state = SkinDocument::State::Normal;
        if (interaction.held) {
            state = SkinDocument::State::Pressed;
        } else if (interaction.hovered) {
            state = SkinDocument::State::Hover;
        }
        const SkinDocument::Picture& thumb = d.thumb.at(state);
        const QRectF normal = thumbRect();
        // A hover or pressed thumb may be drawn larger than the normal one; it stays centred.
        const QSizeF size(thumb.size());
        thumb.draw(painter,
                   QRectF(normal.center() - QPointF(size.width() / 2, size.height() / 2), size));
    }
}

void QtSkinElement::paintPicture(QPainter& painter) const {
    const SkinDocument::Element& d = m_definition;
    d.looks.at(showsPressed() ? SkinDocument::State::Pressed : SkinDocument::State::Normal)
        .draw(painter, d.rect);
    const std::shared_ptr<const SkinPicture> image = m_document->image(m_image);
    if (!image) {
        return;
    }
    // The region is as large as the element and starts at the first two numbers; whatever
    // of it lies outside the image stays empty.
    const QPoint origin(m_numbers.value(0), m_numbers.value(1));
    const QRect region(origin, d.rect.size());
    const QRect visible = region.intersected(QRect(QPoint(0, 0), image->size()));
    if (visible.isEmpty()) {
        return;
    }
    const QRectF target(d.rect.topLeft() + (visible.topLeft() - origin), visible.size());
    image->draw(painter, target, visible);
}

void QtSkinElement::paintText(QPainter& painter) const {
    const SkinDocument::Element& d = m_definition;
    painter.save();
    painter.setFont(d.font);
    painter.setPen(d.colors.normal);
    int flags = static_cast<int>(d.align);
    flags |= d.wrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    painter.drawText(QRectF(d.rect).marginsRemoved(d.padding), flags, d.label);
    painter.restore();
}
