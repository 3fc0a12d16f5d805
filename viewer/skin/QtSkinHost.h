#pragma once

#include <QHash>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/SkinHost.h"

class QtSkinElement;
class SkinDocument;
class SkinSurface;
class SkinTitleStrip;

// The skin engine behind SkinHost: reads skin files with SkinReader and draws the window
// they are applied to through a SkinSurface and, where the skin has one, a SkinTitleStrip.
//
// Element pointers stay valid for the host's whole life: loading another skin (the settings
// window switches its language that way, from inside a click) puts the old elements aside
// instead of deleting them.
class QtSkinHost : public SkinHost {
  public:
    QtSkinHost();
    ~QtSkinHost() override;
    QtSkinHost(const QtSkinHost&) = delete;
    QtSkinHost& operator=(const QtSkinHost&) = delete;

    bool loadSkin(const QString& path, QString* error = nullptr) override;
    void applySkin(QWidget* window) override;
    SkinElement* element(const QString& name) override;
    QRect area(const QString& name) const override;
    void setClickHandler(ClickHandler handler) override { m_click = std::move(handler); }
    void setValueHandler(ValueHandler handler) override { m_value = std::move(handler); }

    // The loaded skin file, empty before the first successful load.
    QString path() const;
    // The window size the loaded skin is drawn for.
    QSize size() const;
    // The size of one of the skin's images (an empty size when it has none of that name).
    QSize imageSize(const QString& name) const;
    // Every element name of the loaded skin in drawing order.
    QStringList elementNames() const;

  private:
    void raiseClick(SkinElement& element);
    void raiseValue(SkinElement& element, int value);
    std::vector<QtSkinElement*> elementList() const;
    static void retire(QPointer<SkinSurface>& surface);
    static void retire(QPointer<SkinTitleStrip>& title);

    std::shared_ptr<const SkinDocument> m_document;
    std::vector<std::unique_ptr<QtSkinElement>> m_elements;
    std::unique_ptr<QtSkinElement> m_minimise;
    std::unique_ptr<QtSkinElement> m_close;
    std::vector<std::unique_ptr<QtSkinElement>> m_putAside;
    QHash<QString, QtSkinElement*> m_byName;  // by lower-case name
    QPointer<QWidget> m_window;
    QPointer<SkinSurface> m_surface;
    QPointer<SkinTitleStrip> m_title;
    ClickHandler m_click;
    ValueHandler m_value;
};
