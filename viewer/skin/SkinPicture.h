#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QMargins>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;
class QSvgRenderer;

// One picture of a skin: an SVG or PNG/JPEG file, or a line of text drawn in the skin's font.
// Files are told apart by their content, because skin pictures keep the program's own file
// endings (a background called playback.MP4 is a picture, not a video). Drawing renders the
// picture at the painter's device scale, so it stays crisp at 96, 120 or any other dpi.
class SkinPicture {
  public:
    ~SkinPicture();
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;

    // Nothing when the file is missing or is neither a readable SVG nor a raster picture;
    // error then says which.
    static std::shared_ptr<SkinPicture> load(const QString& path, QString* error = nullptr);
    // A transparent picture of the given size with text drawn into textRect.
    static std::shared_ptr<SkinPicture> fromText(const QString& text, QSize size, QRect textRect,
                                                 const QFont& font, const QColor& color,
                                                 Qt::Alignment alignment);

    // In picture pixels: an SVG's own width and height, a raster picture's pixel size.
    QSize size() const { return m_size; }

    // Draws region (in picture pixels; the whole picture when null) into target. With slice
    // margins the corners keep their size and only the edges and the middle stretch, so one
    // rounded plate serves buttons of any width. A valid tint colours every opaque pixel.
    void draw(QPainter& painter, const QRectF& target, const QRect& region = {},
              const QMargins& slice = {}, const QColor& tint = {}) const;

    // The whole picture at pixelSize, for windows that show a skin picture themselves.
    QImage toImage(QSize pixelSize) const;

  private:
    SkinPicture() = default;

    // The whole picture rendered with sx × sy device pixels per picture pixel.
    const QPixmap& rendered(qreal sx, qreal sy, const QColor& tint) const;
    void paintInto(QPainter& painter) const;

    QSize m_size;
    std::unique_ptr<QSvgRenderer> m_svg;
    QImage m_image;
    QString m_text;
    QRect m_textRect;
    QFont m_font;
    QColor m_color;
    Qt::Alignment m_alignment;
    mutable QHash<QString, QPixmap> m_cache;
};
