#pragma once

#include <QWidget>
#include <memory>

#include "shell/Form.h"

class SkinHost;

// The control bar, in the video window's band "MediaControl": the skinned transport buttons
// and sliders, with the chart in its area "chart".
class frmCurve : public QWidget, public Form {
  public:
    frmCurve(WindowArrangement& windows, QWidget* parent);
    ~frmCurve() override;

    bool Form_Load() override;

    SkinHost* buttonskin() const { return m_buttonskin.get(); }
    // Where the chart goes; it keeps the skin's area "chart".
    QWidget& chartArea() { return m_chartArea; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutChart();

    std::unique_ptr<SkinHost> m_buttonskin;
    QWidget m_chartArea;
};
