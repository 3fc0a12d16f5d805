#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class SkinPicture;

// What a skin file declares, checked and with its pictures loaded: the window's size and
// background, its title strip, its elements in drawing order, its named areas and the images
// that pictures are cut from. Read by SkinReader; never changed afterwards, so the elements
// of one loaded skin can share it.
class SkinDocument {
  public:
    enum class Kind { Button, Toggle, Slider, Picture, Text };
    // How an element is being drawn at this moment.
    enum class State { Normal, Hover, Pressed };

    // A look: a picture, or a region of one, optionally sliced so its corners keep their
    // size when it is stretched.
    struct Picture {
        std::shared_ptr<const SkinPicture> file;
        QRect region;
        QMargins slice;

        bool isNull() const { return !file; }
        QSize size() const;
        void draw(QPainter& painter, const QRectF& target, const QColor& tint = {}) const;
    };

    // One picture per state; a missing hover or pressed picture falls back to the normal one.
    struct Looks {
        Picture normal;
        Picture hover;
        Picture pressed;

        const Picture& at(State state) const;
    };

    struct Colors {
        QColor normal;
        QColor hover;
        QColor pressed;

        QColor at(State state) const;
    };

    struct Element {
        QString name;
        Kind kind = Kind::Button;
        QRect rect;
        QString valueText;
        QString tip;

        // Buttons, toggles and text.
        Looks looks;
        Looks icons;
        QString label;
        QFont font;
        Colors colors;
        Qt::Alignment align = Qt::AlignCenter;
        QMargins padding;
        int gap = 6;
        bool wrap = false;

        // Sliders.
        Qt::Orientation orientation = Qt::Horizontal;
        int minimum = 0;
        int maximum = 0;
        int start = 0;
        int step = 1;
        QList<int> marks;
        Picture track;
        Picture fill;
        Picture mark;
        Looks thumb;

        // Pictures: the image reference the element starts with.
        QString image;
        QList<int> numbers;

        bool isInteractive() const { return kind == Kind::Button || kind == Kind::Toggle; }
        bool takesInput() const { return isInteractive() || kind == Kind::Slider; }
    };

    struct TitleStrip {
        QRect rect;
        QRect captionRect;
        QFont font;
        QColor color;
        std::optional<Element> minimise;
        std::optional<Element> close;
    };

    QString path;
    QSize size;
    QColor backgroundColor;
    Picture background;
    QColor focusColor;
    std::optional<TitleStrip> title;
    std::vector<Element> elements;
    // Keyed by lower-case name; looked up without regard to case.
    QHash<QString, QRect> areas;
    QHash<QString, std::shared_ptr<const SkinPicture>> images;

    std::shared_ptr<const SkinPicture> image(const QString& name) const;
};
