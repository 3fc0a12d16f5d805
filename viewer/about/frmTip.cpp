#include "about/frmTip.h"

#include "platform/SkinHost.h"
#include "shell/Application.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"

frmTip::frmTip(Windows& windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Form(windows) {
    setObjectName(QStringLiteral("frmTip"));
    resize(WindowGeometry::kSplashSize);
    m_timer1.setSingleShot(true);
    m_timer1.setInterval(kShowMilliseconds);
    QObject::connect(&m_timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

frmTip::~frmTip() = default;

bool frmTip::Form_Load() {
    // Topmost from the start, without moving or resizing.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);

    m_myskin = makeSkin();
    const QString skinFile =
        programPath(QStringLiteral("skin/load/load%1.mp4").arg(app().languageNumber()));
    if (!loadAndApply(m_myskin.get(), skinFile, this)) {
        reportMissingSystemFile();
        windows().endProgram(1);
        return false;
    }
    Form_Resize();
    return true;
}

QRect frmTip::placement(const QRect& screen) {
    return WindowGeometry::splashPlacement(screen);
}

void frmTip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTip::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Resize();
    // The three seconds count from the moment the splash is there to be seen.
    if (!m_shown) {
        m_shown = true;
        m_timer1.start();
    }
}

void frmTip::Form_Resize() {
    placeCentred(*this, WindowGeometry::kSplashSize, ScreenArea::Whole, true);
}

void frmTip::Timer1_Timer() {
    close();
    // Unloaded once this handler has returned: the timer belongs to the window.
    windows().unloadSoon<frmTip>();
}
