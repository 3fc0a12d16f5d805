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
    // The language and the unit chosen in this visit, as codes.
    const QString& pendingLanguage() const { return m_pendingLanguage; }
    const QString& pendingUnit() const { return m_pendingUnit; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void place();
    void mainSkin_Click(SkinElement& element);
    bool loadSkin(int languageNumber);
    void setLook(const QString& name, bool selected);
    void chooseLanguage(const QString& code);
    void chooseUnit(const QString& code);
    void cmdClose();
    // Writes the list for the next run and starts it; false when this run goes on.
    bool restart();

    std::unique_ptr<SkinHost> m_mainSkin;
    QString m_pendingLanguage;
    QString m_pendingUnit;
};
