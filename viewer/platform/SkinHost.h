#pragma once

#include <QRect>
#include <QString>
#include <functional>

class QWidget;
class SkinElement;

// Draws a window from a skin file: its background, its title strip (caption, minimise,
// close, drag to move) and its elements, and reports clicks and slider moves by element.
// Names are compared without regard to case.
class SkinHost {
  public:
    using ClickHandler = std::function<void(SkinElement& element)>;
    using ValueHandler = std::function<void(SkinElement& element, int value)>;

    virtual ~SkinHost();

    // Loads and checks a skin file. False when it is missing or malformed; error then names
    // the file, the element and the fault.
    virtual bool loadSkin(const QString& path, QString* error = nullptr) = 0;
    // Skins the window with the loaded file: sets its fixed size, makes it frameless and
    // draws it from then on.
    virtual void applySkin(QWidget* window) = 0;

    // The element of that name, or nullptr when the skin has none.
    virtual SkinElement* element(const QString& name) = 0;

    // A named area of the window where it hosts other content (the video, the map, a list,
    // the chart), in window coordinates; an empty rectangle when the skin has none.
    virtual QRect area(const QString& name) const = 0;

    virtual void setClickHandler(ClickHandler handler) = 0;
    virtual void setValueHandler(ValueHandler handler) = 0;
};
