#include "skin/SkinDocument.h"

#include "skin/SkinPicture.h"

QSize SkinDocument::Picture::size() const {
    if (!file) {
        return {};
    }
    return region.isNull() ? file->size() : region.size();
}

void SkinDocument::Picture::draw(QPainter& painter, const QRectF& target,
                                 const QColor& tint) const {
    if (file) {
        file->draw(painter, target, region, slice, tint);
    }
}

const SkinDocument::Picture& SkinDocument::Looks::at(State state) const {
    switch (state) {
        case State::Hover:
            return hover.isNull() ? normal : hover;
        case State::Pressed:
            return pressed.isNull() ? normal : pressed;
        case State::Normal:
            break;
    }
    return normal;
}

QColor SkinDocument::Colors::at(State state) const {
    switch (state) {
        case State::Hover:
            return hover.isValid() ? hover : normal;
        case State::Pressed:
            return pressed.isValid() ? pressed : normal;
        case State::Normal:
            break;
    }
    return normal;
}

std::shared_ptr<const SkinPicture> SkinDocument::image(const QString& name) const {
    return images.value(name.toLower());
}
