#pragma once

#include <QDialog>

#include "shell/Form.h"

// The loading window: shown modally by the recording list while tracks load and are drawn.
class frmSendData : public QDialog, public Form {
  public:
    frmSendData(Windows& windows, QWidget* owner);
    ~frmSendData() override;

    bool Form_Load() override;
};
