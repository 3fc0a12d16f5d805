#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "shell/Form.h"

class SkinElement;
class SkinHost;

// The viewer's frame: a fixed 1024 × 708 window over the splash's place, holding the video
// window in its client area and the map panel in its right-hand band "ControlBand". Its skin
// carries the four frame buttons; closing it asks first and ends the program.
class frmMain : public QWidget, public Form {
  public:
    explicit frmMain(Windows& windows);
    ~frmMain() override;

    bool Form_Load() override;

    // The video window, made inside the frame; the frame shows it when it loads.
    void setChildWindow(QWidget& window);
    // Start-up: the map panel goes into the band "ControlBand".
    void dockMapPanel(QWidget& panel);

    SkinHost* mainSkin() const { return m_mainSkin.get(); }
    // Where the frame opens and returns to after any attempt to resize or maximise it: the
    // splash's place on the screen, whether or not the splash is still there.
    QPoint homePosition() const { return m_home; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void layoutBands();
    void snapBack();
    void mainSkin_Click(SkinElement& element);
    template <class Dialog>
    void showModal();
    // True when the user confirmed the exit question.
    bool Form_QueryUnload();

    std::unique_ptr<SkinHost> m_mainSkin;
    QPointer<QWidget> m_childWindow;
    QPointer<QWidget> m_mapPanel;
    QPoint m_home;
    int m_controlBandExtent = 0;
    bool m_snapping = false;
};
