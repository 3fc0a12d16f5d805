#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/SkinHost.h"

// Wraps the skin host a window gets, passing everything through, so a test can click an
// element by name and reach the window's own click and value handlers with the skin's real
// element, as a click of the user arrives.
class ProbeSkinHost : public SkinHost {
  public:
    // registry lists the live probes; a probe takes itself off it when its window goes.
    ProbeSkinHost(std::unique_ptr<SkinHost> inner,
                  std::weak_ptr<QList<ProbeSkinHost*>> registry = {});
    ~ProbeSkinHost() override;

    bool loadSkin(const QString& path, QString* error = nullptr) override;
    void applySkin(QWidget* window) override;
    SkinElement* element(const QString& name) override;
    QRect area(const QString& name) const override;
    void setClickHandler(ClickHandler handler) override;
    void setValueHandler(ValueHandler handler) override;

    // False when the skin has no such element.
    bool click(const QString& name);
    bool moveSlider(const QString& name, int value);

    QWidget* window() const { return m_window; }
    const QString& path() const { return m_path; }
    SkinHost& inner() { return *m_inner; }

  private:
    std::unique_ptr<SkinHost> m_inner;
    QPointer<QWidget> m_window;
    QString m_path;
    ClickHandler m_click;
    ValueHandler m_value;
    std::weak_ptr<QList<ProbeSkinHost*>> m_registry;
};
