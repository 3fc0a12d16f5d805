#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QStringList>
#include <memory>

#include "platform/SkinElement.h"
#include "platform/SkinHost.h"

// An element that only remembers what it was told.
class FakeSkinElement : public SkinElement {
  public:
    FakeSkinElement(QString name, QString valueText);

    QString name() const override { return m_name; }
    QString valueText() const override { return m_valueText; }
    Look look() const override { return m_look; }
    void setLook(Look look) override { m_look = look; }
    bool pressedFlag() const override { return m_pressed; }
    void setPressedFlag(bool pressed) override { m_pressed = pressed; }
    int sliderValue() const override { return m_slider; }
    void setSliderValue(int value) override { m_slider = value; }
    void setImageReference(const QString& image, const QList<int>& numbers) override;
    QString imageName() const override { return m_image; }
    QList<int> imageNumbers() const override { return m_numbers; }

  private:
    QString m_name;
    QString m_valueText;
    Look m_look = Look::Normal;
    bool m_pressed = false;
    int m_slider = 0;
    QString m_image;
    QList<int> m_numbers;
};

// A skin host whose "files" are declared by the test: a path that was given elements loads,
// any other fails as a missing file. Clicks and slider moves are raised by the test.
class FakeSkinHost : public SkinHost {
  public:
    bool loadSkin(const QString& path, QString* error = nullptr) override;
    void applySkin(QWidget* window) override;
    SkinElement* element(const QString& name) override;
    QRect area(const QString& name) const override;
    void setClickHandler(ClickHandler handler) override { m_click = std::move(handler); }
    void setValueHandler(ValueHandler handler) override { m_value = std::move(handler); }

    // What the skin at path holds; shared by every FakeSkinHost so windows that make their
    // own host see the same files.
    static void declareSkin(const QString& path, const QStringList& elementNames,
                            const QMap<QString, QString>& valueTexts = {},
                            const QMap<QString, QRect>& areas = {});
    static void forgetSkins();

    // Raises the click event of an element as the user would; false when there is none.
    bool click(const QString& name);
    bool moveSlider(const QString& name, int value);

    const QString& loadedPath() const { return m_path; }
    QWidget* appliedTo() const { return m_window; }

  private:
    struct Declared {
        QStringList names;
        QMap<QString, QString> values;
        QMap<QString, QRect> areas;
    };
    static QHash<QString, Declared>& declared();

    QString m_path;
    QWidget* m_window = nullptr;
    QMap<QString, QRect> m_areas;
    QHash<QString, std::shared_ptr<FakeSkinElement>> m_elements;  // by lower-case name
    ClickHandler m_click;
    ValueHandler m_value;
};
