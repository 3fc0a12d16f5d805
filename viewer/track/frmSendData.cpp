#include "track/frmSendData.h"

#include "shell/Application.h"
#include "shell/TextId.h"

frmSendData::frmSendData(Windows& windows, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Form(windows) {
    setObjectName(QStringLiteral("frmSendData"));
    setModal(true);
}

frmSendData::~frmSendData() = default;

bool frmSendData::Form_Load() {
    setWindowTitle(textOr(TextId::kCaption));
    return true;
}
