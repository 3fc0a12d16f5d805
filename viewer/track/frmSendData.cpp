#include "frmSendData.h"

#include "Application.h"
#include "TextId.h"

frmSendData::frmSendData(WindowArrangement& windows, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Form(windows) {
    setObjectName(QStringLiteral("frmSendData"));
    setModal(true);
}

frmSendData::~frmSendData() = default;

bool frmSendData::Form_Load() {
    setWindowTitle(textOr(TextId::kCaption));
    return true;
}
