#pragma once

#include <QDialog>
#include <QRect>
#include <memory>

#include "services/AboutWindow.h"
#include "shell/Form.h"

class SkinElement;
class SkinHost;

// The about window: a modal 600 × 400 dialog of the frame, centred in the desktop's work area
// and returning there after any resize, with the skin buttons "close" and "webstation".
class frmAbout : public QDialog, public Form, public AboutWindow {
  public:
    frmAbout(Windows& windows, QWidget* owner);
    ~frmAbout() override;

    bool Form_Load() override;
    void showModal() override { exec(); }

    // The window's place in a work area (the desktop without its panels).
    static QRect placement(const QRect& workArea);

    SkinHost* mtskin() const { return m_mtskin.get(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Initialize();
    void mtskin_Click(SkinElement& element);

    std::unique_ptr<SkinHost> m_mtskin;
};
