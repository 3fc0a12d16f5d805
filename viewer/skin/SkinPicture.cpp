#include "skin/SkinPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace {

// Larger pictures are refused: a skin never needs them, and a hostile file must not make
// the viewer allocate gigabytes.
constexpr int kLargestSide = 4096;
// Far beyond any picture a skin needs.
constexpr qint64 kLargestFile = qint64(16) << 20;
constexpr qsizetype kCachedRenderings = 24;

bool looksLikeSvg(const QByteArray& bytes) {
    const QByteArray head = bytes.left(4096);
    qsizetype first = 0;
    if (head.startsWith("\xEF\xBB\xBF")) {
        first = 3;
    }
    while (first < head.size() && std::isspace(static_cast<unsigned char>(head.at(first)))) {
        ++first;
    }
    return first < head.size() && head.at(first) == '<' && head.contains("<svg");
}

// Where a logical x or y lands on the device, rounded to a whole device pixel, so the pieces
// of a sliced picture meet without a seam at fractional scales such as 1.25.
qreal snapped(qreal logical, qreal scale, qreal offset) {
    if (scale <= 0) {
        return logical;
    }
    return (std::round(logical * scale + offset) - offset) / scale;
}

}  // namespace

SkinPicture::~SkinPicture() = default;

std::shared_ptr<SkinPicture> SkinPicture::load(const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error != nullptr) {
            *error = why;
        }
        return std::shared_ptr<SkinPicture>();
    };
    QFile file(path);
    if (!file.exists()) {
        return fail(QStringLiteral("not found"));
    }
    // A device or a pipe named as a picture would be read for ever.
    const QFileInfo info(path);
    if (!info.isFile()) {
        return fail(QStringLiteral("is not a file"));
    }
    if (info.size() > kLargestFile) {
        return fail(QStringLiteral("is larger than %1 MiB").arg(kLargestFile >> 20));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("cannot be opened: ") + file.errorString());
    }
    const QByteArray bytes = file.read(kLargestFile);

    std::shared_ptr<SkinPicture> picture(new SkinPicture);
    if (looksLikeSvg(bytes)) {
        auto svg = std::make_unique<QSvgRenderer>(bytes);
        if (!svg->isValid()) {
            return fail(QStringLiteral("is not a readable SVG picture"));
        }
        picture->m_size = svg->defaultSize();
        picture->m_svg = std::move(svg);
    } else {
        picture->m_image = QImage::fromData(bytes);
        if (picture->m_image.isNull()) {
            return fail(QStringLiteral("is neither an SVG nor a PNG or JPEG picture"));
        }
        picture->m_size = picture->m_image.size();
    }
    if (picture->m_size.isEmpty()) {
        return fail(QStringLiteral("has no size"));
    }
    if (picture->m_size.width() > kLargestSide || picture->m_size.height() > kLargestSide) {
        return fail(QStringLiteral("is larger than %1 × %1 pixels").arg(kLargestSide));
    }
    return picture;
}

std::shared_ptr<SkinPicture> SkinPicture::fromText(const QString& text, QSize size, QRect textRect,
                                                   const QFont& font, const QColor& color,
                                                   Qt::Alignment alignment) {
    std::shared_ptr<SkinPicture> picture(new SkinPicture);
    picture->m_size = size;
    picture->m_text = text;
    picture->m_textRect = textRect.isNull() ? QRect(QPoint(0, 0), size) : textRect;
    picture->m_font = font;
    picture->m_color = color;
    picture->m_alignment = alignment;
    return picture;
}

void SkinPicture::paintInto(QPainter& painter) const {
    const QRectF whole(QPointF(0, 0), QSizeF(m_size));
    if (m_svg) {
        m_svg->render(&painter, whole);
    } else if (!m_image.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(whole, m_image);
    } else {
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(m_font);
        painter.setPen(m_color);
        painter.drawText(m_textRect, static_cast<int>(m_alignment) | Qt::TextSingleLine, m_text);
    }
}

const QPixmap& SkinPicture::rendered(qreal sx, qreal sy, const QColor& tint) const {
    const QString key = QStringLiteral("%1/%2/%3")
                            .arg(qRound(sx * 1000))
                            .arg(qRound(sy * 1000))
                            .arg(tint.isValid() ? tint.rgba() : 0u);
    auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd()) {
        return *it;
    }
    if (m_cache.size() >= kCachedRenderings) {
        m_cache.clear();
    }
    const int width =
        std::clamp(static_cast<int>(std::ceil(m_size.width() * sx)), 1, 4 * kLargestSide);
    const int height =
        std::clamp(static_cast<int>(std::ceil(m_size.height() * sy)), 1, 4 * kLargestSide);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(qreal(width) / m_size.width(), qreal(height) / m_size.height());
        paintInto(painter);
        if (tint.isValid()) {
            painter.resetTransform();
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(image.rect(), tint);
        }
    }
    return *m_cache.insert(key, QPixmap::fromImage(std::move(image)));
}

void SkinPicture::draw(QPainter& painter, const QRectF& target, const QRect& region,
                       const QMargins& slice, const QColor& tint) const {
    const QRect source = region.isNull() ? QRect(QPoint(0, 0), m_size) : region;
    if (source.isEmpty() || target.isEmpty()) {
        return;
    }
    // Device pixels per logical pixel: the screen's pixel ratio, or the pixel ratio of the
    // picture a window is being rendered into.
    const QTransform device = painter.deviceTransform();
    const qreal dx = std::hypot(device.m11(), device.m12());
    const qreal dy = std::hypot(device.m21(), device.m22());

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (slice.isNull()) {
        const QPixmap& pixmap = rendered(dx * target.width() / source.width(),
                                         dy * target.height() / source.height(), tint);
        const qreal ax = qreal(pixmap.width()) / m_size.width();
        const qreal ay = qreal(pixmap.height()) / m_size.height();
        painter.drawPixmap(
            target, pixmap,
            QRectF(source.x() * ax, source.y() * ay, source.width() * ax, source.height() * ay));
        painter.restore();
        return;
    }

    const QPixmap& pixmap = rendered(dx, dy, tint);
    const qreal ax = qreal(pixmap.width()) / m_size.width();
    const qreal ay = qreal(pixmap.height()) / m_size.height();
    // Margins wider than the target shrink together so the corners still meet.
    qreal left = std::min(slice.left(), source.width());
    qreal right = std::min(slice.right(), source.width() - int(left));
    qreal top = std::min(slice.top(), source.height());
    qreal bottom = std::min(slice.bottom(), source.height() - int(top));
    const std::array<qreal, 4> xs{qreal(source.left()), source.left() + left,
                                  source.left() + source.width() - right,
                                  qreal(source.left() + source.width())};
    const std::array<qreal, 4> ys{qreal(source.top()), source.top() + top,
                                  source.top() + source.height() - bottom,
                                  qreal(source.top() + source.height())};
    if (left + right > target.width()) {
        const qreal shrink = target.width() / (left + right);
        left *= shrink;
        right *= shrink;
    }
    if (top + bottom > target.height()) {
        const qreal shrink = target.height() / (top + bottom);
        top *= shrink;
        bottom *= shrink;
    }
    std::array<qreal, 4> xt{target.left(), target.left() + left, target.right() - right,
                            target.right()};
    std::array<qreal, 4> yt{target.top(), target.top() + top, target.bottom() - bottom,
                            target.bottom()};
    for (qreal& x : xt) {
        x = snapped(x, device.m11(), device.dx());
    }
    for (qreal& y : yt) {
        y = snapped(y, device.m22(), device.dy());
    }
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            const QRectF to(xt[column], yt[row], xt[column + 1] - xt[column],
                            yt[row + 1] - yt[row]);
            const QRectF from(xs[column] * ax, ys[row] * ay, (xs[column + 1] - xs[column]) * ax,
                              (ys[row + 1] - ys[row]) * ay);
            if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0) {
                painter.drawPixmap(to, pixmap, from);
            }
        }
    }
    painter.restore();
}

QImage SkinPicture::toImage(QSize pixelSize) const {
    QImage image(pixelSize.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(image.width()) / m_size.width(), qreal(image.height()) / m_size.height());
    paintInto(painter);
    return image;
}
