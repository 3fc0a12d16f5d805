#include "about/frmTip.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/SkinHost.h"
#include "shell/Application.h"
#include "shell/WindowArrangement.h"

frmTip::frmTip(WindowArrangement& windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Form(windows) {
    setObjectName(QStringLiteral("frmTip"));
    resize(WindowArrangement::kSplashSize);
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
    m_timer1.start();
    return true;
}

QRect frmTip::placement(const QRect& screen) {
    return WindowArrangement::centredIn(screen, WindowArrangement::kSplashSize, true);
}

void frmTip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTip::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Resize();
}

void frmTip::Form_Resize() {
    if (m_placing) {
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    m_placing = true;
    setGeometry(placement(screen->geometry()));
    m_placing = false;
}

void frmTip::Timer1_Timer() {
    close();
    // Unloaded once this handler has returned: the timer belongs to the window.
    WindowArrangement* arrangement = &windows();
    QTimer::singleShot(0, arrangement, [arrangement] { arrangement->unload<frmTip>(); });
}
