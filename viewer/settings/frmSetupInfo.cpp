#include "settings/frmSetupInfo.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "shell/Application.h"
#include "shell/WindowArrangement.h"

frmSetupInfo::frmSetupInfo(WindowArrangement& windows, QWidget* owner)
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
    return WindowArrangement::centredIn(workArea, WindowArrangement::kSettingsSize, false);
}

void frmSetupInfo::place() {
    if (m_placing) {
        return;
    }
    m_placing = true;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen != nullptr
                               ? screen->availableGeometry()
                               : QRect(QPoint(0, 0), WindowArrangement::kSettingsSize);
    setGeometry(placement(workArea));
    m_placing = false;
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
