#include "settings/frmSetupInfo.h"

#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "shell/Application.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"

frmSetupInfo::frmSetupInfo(Windows& windows, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Form(windows) {
    setObjectName(QStringLiteral("frmSetupInfo"));
    setModal(true);
}

frmSetupInfo::~frmSetupInfo() = default;

bool frmSetupInfo::Form_Load() {
    m_mainSkin = makeSkin();
    const QString skinFile =
        programPath(QStringLiteral("skin/setup/%1.mp4").arg(app().languageNumber()));
    if (!loadAndApply(m_mainSkin.get(), skinFile, this)) {
        reportMissingSystemFile();
        windows().endProgram(1);
        return false;
    }
    m_mainSkin->setClickHandler([this](SkinElement& element) { mainSkin_Click(element); });
    place();
    return true;
}

QRect frmSetupInfo::placement(const QRect& workArea) {
    return WindowGeometry::centredIn(workArea, WindowGeometry::kSettingsSize, false);
}

void frmSetupInfo::place() {
    placeCentred(*this, WindowGeometry::kSettingsSize, ScreenArea::WorkArea, false);
}

void frmSetupInfo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    place();
}

void frmSetupInfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    place();
}

void frmSetupInfo::mainSkin_Click(SkinElement& element) {
    if (element.name().toUpper() == QStringLiteral("CMDCLOSE")) {
        close();
    }
}
