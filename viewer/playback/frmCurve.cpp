#include "playback/frmCurve.h"

#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "shell/Application.h"

frmCurve::frmCurve(Windows& windows, QWidget* parent)
    : QWidget(parent), Form(windows), m_chartArea(this) {
    setObjectName(QStringLiteral("frmCurve"));
    m_chartArea.setObjectName(QStringLiteral("chart"));
    m_chartArea.hide();
}

frmCurve::~frmCurve() = default;

bool frmCurve::Form_Load() {
    m_buttonskin = makeSkin();
    const QString skinFile =
        programPath(QStringLiteral("skin/control/MediaControl%1.mp4").arg(app().languageNumber()));
    if (!loadAndApply(m_buttonskin.get(), skinFile, this)) {
        reportMissingSystemFile();
        return false;
    }
    layoutChart();
    return true;
}

void frmCurve::setSnapshotRefused(bool refused) {
    if (!m_buttonskin) {
        return;
    }
    if (SkinElement* photo = m_buttonskin->element(QStringLiteral("photo"))) {
        photo->setPressedFlag(refused);
    }
}

void frmCurve::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChart();
}

void frmCurve::layoutChart() {
    const QRect area = m_buttonskin ? m_buttonskin->area(QStringLiteral("chart")) : QRect();
    m_chartArea.setGeometry(area);
    m_chartArea.setVisible(!area.isEmpty());
}
