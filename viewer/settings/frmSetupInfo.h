#pragma once

#include <QDialog>
#include <QRect>
#include <memory>

#include "services/SettingsWindow.h"
#include "shell/Form.h"

class SkinElement;
class SkinHost;

// The settings window: a modal 800 × 480 dialog of the frame, centred in the desktop's work
// area, where the language and the speed unit are chosen.
class frmSetupInfo : public QDialog, public Form, public SettingsWindow {
  public:
    frmSetupInfo(Windows& windows, QWidget* owner);
    ~frmSetupInfo() override;

    bool Form_Load() override;
    void showModal() override { exec(); }

    static QRect placement(const QRect& workArea);

    SkinHost* mainSkin() const { return m_mainSkin.get(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void place();
    void mainSkin_Click(SkinElement& element);

    std::unique_ptr<SkinHost> m_mainSkin;
};
