#pragma once

#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "shell/Form.h"

class SkinHost;

// The splash: covers the frame's area for its first three seconds on the screen, above every
// other window, centred on the screen but never beyond its top-left corner.
class frmTip : public QWidget, public Form {
  public:
    static constexpr int kShowMilliseconds = 3000;

    explicit frmTip(Windows& windows);
    ~frmTip() override;

    bool Form_Load() override;

    // The splash's place on a screen of that geometry.
    static QRect placement(const QRect& screen);

    SkinHost* myskin() const { return m_myskin.get(); }
    const QTimer& Timer1() const { return m_timer1; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Resize();
    void Timer1_Timer();

    std::unique_ptr<SkinHost> m_myskin;
    QTimer m_timer1;
    bool m_shown = false;
};
