#pragma once

#include <QList>
#include <QString>

// One element of a skinned window: a button, toggle, slider, picture or text, found by its
// name. Window logic sees elements only through this.
class SkinElement {
  public:
    // How an element is drawn. "Selected" draws the pressed look and stays: the chart-mode
    // pair uses it as a radio button.
    enum class Look { Normal, Pressed, Selected };

    virtual ~SkinElement();

    virtual QString name() const = 0;
    // The value text the skin file gives the element (the settings window keeps the
    // language and unit codes there).
    virtual QString valueText() const = 0;

    virtual Look look() const = 0;
    virtual void setLook(Look look) = 0;

    // A flag the window keeps on the element; the skin draws a set flag with the pressed
    // look (mute on, snapshot refused).
    virtual bool pressedFlag() const = 0;
    virtual void setPressedFlag(bool pressed) = 0;

    // Sliders: the value within the range the skin file gives. Setting it does not raise
    // the value event; only the user moving the slider does.
    virtual int sliderValue() const = 0;
    virtual void setSliderValue(int value) = 0;

    // Pictures drawn from a named image of the skin: numbers[0], numbers[1] are the left and
    // top of the region within that image; the region is as large as the element. Further
    // numbers are accepted and ignored.
    virtual void setImageReference(const QString& image, const QList<int>& numbers) = 0;
    virtual QString imageName() const = 0;
    virtual QList<int> imageNumbers() const = 0;
};
