#pragma once

#include <QPointer>
#include <QWidget>

// A band of a docking bar: the window docked into it fills it, whatever size the band takes.
// The window is made inside the band (its final parent) and only placed here.
class DockBand : public QWidget {
  public:
    explicit DockBand(QWidget* parent);

    void dock(QWidget* window);
    QWidget* docked() const { return m_docked; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPointer<QWidget> m_docked;
};
