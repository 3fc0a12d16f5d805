#include "frame/frmMain.h"

#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>
#include <exception>

#include "about/frmAbout.h"
#include "about/frmTip.h"
#include "list/frmMP4List.h"
#include "map/frmMediaCtrl.h"
#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "platform/WaitService.h"
#include "playback/frmChild.h"
#include "settings/frmSetupInfo.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/WindowArrangement.h"

frmMain::frmMain(WindowArrangement& windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      Form(windows) {
    // The frame cannot be made larger or smaller; with equal least and greatest sizes the
    // window system offers no maximise either.
    setFixedSize(WindowArrangement::kFrameSize);
    setObjectName(QStringLiteral("frmMain"));
}

frmMain::~frmMain() {
    // The hosted windows belong to the application, not to this widget: they go first, so the
    // widget does not delete them a second time.
    windows().unload<frmAbout>();
    windows().unload<frmSetupInfo>();
    windows().unload<frmMediaCtrl>();
    windows().unload<frmChild>();
}

bool frmMain::Form_Load() {
    try {
        // The frame covers the splash's area; the splash may be gone when the frame is
        // loaded later, so the place is kept for the snap-back.
        if (app().isLoaded<frmTip>()) {
            m_home = app().window<frmTip>().pos();
        }
        move(m_home);
        resize(WindowArrangement::kFrameSize);

        m_mainSkin = makeSkin();
        const QString skinFile =
            programPath(QStringLiteral("skin/main/%1.mp4").arg(app().languageNumber()));
        if (!loadAndApply(m_mainSkin.get(), skinFile, this)) {
            reportMissingSystemFile();
            windows().endProgram(1);
            return false;
        }
        // A skin may set the size and flags again; the frame's own rules stay.
        setFixedSize(WindowArrangement::kFrameSize);
        m_mainSkin->setClickHandler([this](SkinElement& element) { mainSkin_Click(element); });

        setWindowTitle(app().text(TextId::kCaption));

        layoutBands();
        if (app().isLoaded<frmChild>()) {
            app().window<frmChild>().show();
        }
    } catch (const std::exception& error) {
        // The window stays as far as it got.
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kQuestionTitle,
                textOr(TextId::kInitMemoryError) + QString::fromStdString(error.what()));
    }
    return true;
}

void frmMain::dockMapPanel(frmMediaCtrl& panel) {
    m_controlBandExtent = WindowArrangement::kControlBandExtent;
    layoutBands();
    panel.show();
}

void frmMain::layoutBands() {
    // The skin says where the client area and the band lie below its title strip; without
    // one the band keeps its extent at the right-hand edge.
    const QRect below(0, WindowArrangement::kFrameTop, width(),
                      height() - WindowArrangement::kFrameTop);
    const int extent =
        m_controlBandExtent > 0 ? m_controlBandExtent : WindowArrangement::kControlBandExtent;
    QRect client = WindowArrangement::besideBand(below, Qt::RightEdge, extent);
    QRect band = WindowArrangement::dockedBand(below, Qt::RightEdge, extent);
    if (m_mainSkin) {
        const QRect skinClient = m_mainSkin->area(QStringLiteral("client"));
        const QRect skinBand = m_mainSkin->area(QStringLiteral("ControlBand"));
        if (!skinClient.isEmpty()) {
            client = skinClient;
        }
        if (!skinBand.isEmpty()) {
            band = skinBand;
        }
    }
    if (app().isLoaded<frmChild>()) {
        app().window<frmChild>().setGeometry(client);
    }
    if (app().isLoaded<frmMediaCtrl>()) {
        app().window<frmMediaCtrl>().setGeometry(band);
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    snapBack();
}

void frmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0) {
        // No way to maximise the frame: back to its size at its place.
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        snapBack();
    }
}

void frmMain::snapBack() {
    if (m_snapping || !isFormLoaded()) {
        return;
    }
    m_snapping = true;
    if (size() != WindowArrangement::kFrameSize) {
        setGeometry(QRect(m_home, WindowArrangement::kFrameSize));
    }
    m_snapping = false;
}

void frmMain::mainSkin_Click(SkinElement& element) {
    const QString name = element.name().toLower();
    try {
        if (name == QStringLiteral("open")) {
            if (frmMP4List* list = windows().load<frmMP4List>()) {
                list->cmdOpenFile();
            }
        } else if (name == QStringLiteral("delete")) {
            if (frmMP4List* list = windows().load<frmMP4List>()) {
                list->DeleteList();
            }
        } else if (name == QStringLiteral("setup")) {
            if (frmSetupInfo* settings = windows().load<frmSetupInfo>()) {
                settings->exec();
            }
            windows().unload<frmSetupInfo>();
        } else if (name == QStringLiteral("info")) {
            if (frmAbout* about = windows().load<frmAbout>()) {
                about->exec();
            }
            windows().unload<frmAbout>();
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, QString::fromStdString(error.what()));
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (windows().programEnded() || Form_QueryUnload()) {
        event->accept();
        windows().endProgram(0);
    } else {
        event->ignore();
    }
}

bool frmMain::Form_QueryUnload() {
    try {
        const auto answer =
            message(MessageBoxService::Icon::Question, MessageBoxService::Buttons::YesNo,
                    TextId::kInformationPrompted, app().text(TextId::kExitQuestion));
        if (answer != MessageBoxService::Answer::Yes) {
            return false;
        }
        if (WaitService* waits = app().platform().waits) {
            waits->processPendingEvents();
        }
        return true;
    } catch (const std::exception&) {
        // A failure while asking keeps the program running.
        return false;
    }
}
