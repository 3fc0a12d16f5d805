#include "frame/frmMain.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <exception>

#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "platform/WaitService.h"
#include "services/AboutWindow.h"
#include "services/RecordingList.h"
#include "services/SettingsWindow.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"

frmMain::frmMain(Windows& windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      Form(windows) {
    // The frame cannot be made larger or smaller; with equal least and greatest sizes the
    // window system offers no maximise either.
    setFixedSize(WindowGeometry::kFrameSize);
    setObjectName(QStringLiteral("frmMain"));
    // Recordings dropped from a file manager anywhere on the frame join the list.
    setAcceptDrops(true);
}

frmMain::~frmMain() = default;

bool frmMain::Form_Load() {
    try {
        // The frame opens where the splash lies, worked out from the screen rather than read
        // from the splash: a message box during start-up can outlast the splash.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            m_home = WindowGeometry::splashPlacement(screen->geometry()).topLeft();
        }
        move(m_home);
        resize(WindowGeometry::kFrameSize);

        m_mainSkin = makeSkin();
        const QString skinFile =
            programPath(QStringLiteral("skin/main/%1.mp4").arg(app().languageNumber()));
        if (!loadAndApply(m_mainSkin.get(), skinFile, this)) {
            reportMissingSystemFile();
            windows().endProgram(1);
            return false;
        }
        // A skin may set the size and flags again; the frame's own rules stay.
        setFixedSize(WindowGeometry::kFrameSize);
        m_mainSkin->setClickHandler([this](SkinElement& element) { mainSkin_Click(element); });

        setWindowTitle(app().text(TextId::kCaption));

        layoutBands();
        if (m_childWindow) {
            m_childWindow->show();
        }
    } catch (const std::exception& error) {
        // The window stays as far as it got.
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kQuestionTitle,
                textOr(TextId::kInitMemoryError) + QString::fromStdString(error.what()));
    }
    return true;
}

void frmMain::setChildWindow(QWidget& window) {
    m_childWindow = &window;
    layoutBands();
}

void frmMain::dockMapPanel(QWidget& panel) {
    m_mapPanel = &panel;
    m_controlBandExtent = WindowGeometry::kControlBandExtent;
    layoutBands();
    panel.show();
}

void frmMain::layoutBands() {
    // The skin says where the client area and the band lie below its title strip; without
    // one the band keeps its extent at the right-hand edge.
    const QRect below(0, WindowGeometry::kFrameTop, width(), height() - WindowGeometry::kFrameTop);
    const int extent =
        m_controlBandExtent > 0 ? m_controlBandExtent : WindowGeometry::kControlBandExtent;
    QRect client = WindowGeometry::besideBand(below, Qt::RightEdge, extent);
    QRect band = WindowGeometry::dockedBand(below, Qt::RightEdge, extent);
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
    if (m_childWindow) {
        m_childWindow->setGeometry(client);
    }
    if (m_mapPanel) {
        m_mapPanel->setGeometry(band);
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
    if (size() != WindowGeometry::kFrameSize) {
        setGeometry(QRect(m_home, WindowGeometry::kFrameSize));
    }
    m_snapping = false;
}

void frmMain::mainSkin_Click(SkinElement& element) {
    const QString name = element.name().toLower();
    try {
        if (name == QStringLiteral("open")) {
            if (RecordingList* list = windows().load<RecordingList>()) {
                list->cmdOpenFile();
            }
        } else if (name == QStringLiteral("delete")) {
            if (RecordingList* list = windows().load<RecordingList>()) {
                list->DeleteList();
            }
        } else if (name == QStringLiteral("setup")) {
            showModal<SettingsWindow>();
        } else if (name == QStringLiteral("info")) {
            showModal<AboutWindow>();
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, QString::fromStdString(error.what()));
    }
}

template <class Dialog>
void frmMain::showModal() {
    if (Dialog* dialog = windows().load<Dialog>()) {
        dialog->showModal();
    }
    windows().unload<Dialog>();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    event->acceptProposedAction();
    if (RecordingList* list = windows().load<RecordingList>()) {
        list->addRecordings(paths, false);
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
