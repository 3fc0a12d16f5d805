#pragma once

#include <QPointF>
#include <QRectF>
#include <functional>
#include <memory>

#include "platform/SkinElement.h"
#include "skin/SkinDocument.h"

class QPainter;

// One element of a loaded skin: its definition from the skin file and the state the window
// gives it (look, pressed flag, slider value, image reference). It draws itself; the surface
// that hosts it says whether the pointer is over it or holds it down.
class QtSkinElement : public SkinElement {
  public:
    // What the user is doing with the element at the moment of drawing.
    struct Interaction {
        bool hovered = false;
        bool held = false;
    };

    QtSkinElement(std::shared_ptr<const SkinDocument> document,
                  const SkinDocument::Element& definition);

    QString name() const override { return m_definition.name; }
    QString valueText() const override { return m_definition.valueText; }
    Look look() const override { return m_look; }
    void setLook(Look look) override;
    bool pressedFlag() const override { return m_pressedFlag; }
    void setPressedFlag(bool pressed) override;
    int sliderValue() const override { return m_value; }
    void setSliderValue(int value) override;
    void setImageReference(const QString& image, const QList<int>& numbers) override;
    QString imageName() const override { return m_image; }
    QList<int> imageNumbers() const override { return m_numbers; }

    const SkinDocument::Element& definition() const { return m_definition; }
    QRect rect() const { return m_definition.rect; }
    SkinDocument::Kind kind() const { return m_definition.kind; }

    // Called with the rectangle to draw again whenever the window changes the element.
    void setRepaintHandler(std::function<void(const QRect&)> handler) {
        m_repaint = std::move(handler);
    }

    // Sliders: the value at a point of the window, and where the thumb stands.
    int valueAt(QPointF point) const;
    QRectF thumbRect() const;
    // The value clamped to the slider's range.
    int clamped(int value) const;

    // The look the element shows now, before any hover feedback: pressed when the window
    // selected or pressed it or set its pressed flag.
    bool showsPressed() const;
    void paint(QPainter& painter, Interaction interaction) const;

  private:
    qreal axisPosition(int value) const;
    void paintButton(QPainter& painter, SkinDocument::State state) const;
    void paintSlider(QPainter& painter, Interaction interaction) const;
    void paintPicture(QPainter& painter) const;
    void paintText(QPainter& painter) const;
    void changed() const;

    std::shared_ptr<const SkinDocument> m_document;
    const SkinDocument::Element& m_definition;
    Look m_look = Look::Normal;
    bool m_pressedFlag = false;
    int m_value = 0;
    QString m_image;
    QList<int> m_numbers;
    std::function<void(const QRect&)> m_repaint;
};
