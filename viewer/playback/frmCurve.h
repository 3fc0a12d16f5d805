#pragma once

#include <QWidget>
#include <memory>

#include "services/ControlBar.h"
#include "shell/Form.h"

class SkinHost;

// The control bar, in the video window's band "MediaControl": the skinned transport buttons
// and sliders, with the chart in its area "chart".
class frmCurve : public QWidget, public Form, public ControlBar {
  public:
    frmCurve(Windows& windows, QWidget* parent);
    ~frmCurve() override;

    bool Form_Load() override;

    // The skin element "photo" keeps the flag: pressed while snapshots are refused.
    void setSnapshotRefused(bool refused) override;

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
