#include "playback/frmChild.h"

#include <QEvent>
#include <QImageReader>
#include <QPixmap>
#include <cmath>
#include <stdexcept>

#include "platform/MediaPlayer.h"
#include "platform/WaitService.h"
#include "services/ControlBar.h"
#include "services/RecordingList.h"
#include "services/Rounding.h"
#include "services/clsDot.h"
#include "shell/Application.h"
#include "shell/FileExists.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"

namespace {

// nullptr when the platform has no player to give.
std::unique_ptr<MediaPlayer> makePlayer(const Application& app, QWidget* parent) {
    const auto& make = app.platform().makeMediaPlayer;
    return make ? make(parent) : nullptr;
}

// A position or length as a whole second; what is not a number counts as 0.
qint64 wholeSeconds(double seconds) {
    return std::isfinite(seconds) ? static_cast<qint64>(Rounding::halfEven(seconds)) : 0;
}

}  // namespace

frmChild::frmChild(Windows& windows, QWidget* parent)
    : QWidget(parent), Form(windows), m_picBack(this), m_mediaControlBand(this) {
    setObjectName(QStringLiteral("frmChild"));
    m_picBack.setObjectName(QStringLiteral("picBack"));
    m_picBack.setScaledContents(true);
    m_picBack.setAutoFillBackground(true);
    QPalette palette = m_picBack.palette();
    palette.setColor(QPalette::Window, QColor(26, 27, 54));
    m_picBack.setPalette(palette);
    m_mediaControlBand.setObjectName(QStringLiteral("MediaControl"));

    // Both players are made here, in their final parent, before the frame is first shown.
    m_mtWmp = makePlayer(app(), &m_picBack);
    m_mtbk = makePlayer(app(), &m_picBack);
    if (!m_mtWmp) {
        throw std::runtime_error("The media player is not available");
    }
    m_mtWmp->setPlayStateHandler([this](int state) { mtWmp_PlayStateChange(state); });
    m_mtWmp->setErrorHandler([this](const QString& description) { mtWmp_Error(description); });
    if (m_mtbk) {
        m_mtbk->setPlayStateHandler([this](int state) { mtbk_PlayStateChange(state); });
    }
    m_picBack.installEventFilter(this);

    m_tPlayTime.setInterval(kPlayTimeMilliseconds);
    QObject::connect(&m_tPlayTime, &QTimer::timeout, this, [this] { tPlayTime_Timer(); });
}

frmChild::~frmChild() {
    m_picBack.removeEventFilter(this);
}

bool frmChild::Form_Load() {
    const QString picture = programPath(QStringLiteral("skin/support/playback.MP4"));
    if (FileExists(picture)) {
        // A picture under a video's name: its kind is read from its content.
        QImageReader reader(picture);
        reader.setDecideFormatFromContent(true);
        const QImage image = reader.read();
        if (!image.isNull()) {
            m_picBack.setPixmap(QPixmap::fromImage(image));
        }
    }

    layoutBands();

    m_mtWmpTag = QStringLiteral("-1");
    m_picBackTag = QStringLiteral("1");

    // No snapshot until a recording plays.
    if (ControlBar* controlBar = windows().load<ControlBar>()) {
        controlBar->setSnapshotRefused(true);
    }

    const QString clip = programPath(QStringLiteral("system/bk.MP4"));
    if (!FileExists(clip)) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kCameraFileMissing));
    } else if (m_mtbk) {
        // Muted before it plays, so not a moment of it is heard.
        m_mtbk->setMute(true);
        m_mtbk->setUrl(clip);
        m_mtbk->play();
        m_backgroundClipOpen = true;
        m_clipRunning = true;
    }

    // The player shows again as soon as a recording plays.
    if (QWidget* video = m_mtWmp->widget()) {
        video->hide();
    }
    showRecordingOrBackground();
    return true;
}

void frmChild::dockControlBar(QWidget& controlBar) {
    m_mediaControlExtent = WindowGeometry::kMediaControlExtent;
    layoutBands();
    m_mediaControlBand.dock(&controlBar);
}

void frmChild::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBands();
}

void frmChild::layoutBands() {
    const int extent =
        m_mediaControlExtent > 0 ? m_mediaControlExtent : WindowGeometry::kMediaControlExtent;
    m_mediaControlBand.setGeometry(WindowGeometry::dockedBand(rect(), Qt::BottomEdge, extent));
    m_picBack.setGeometry(WindowGeometry::besideBand(rect(), Qt::BottomEdge, extent));
}

bool frmChild::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_picBack && event->type() == QEvent::Resize) {
        picBack_Resize();
    }
    return QWidget::eventFilter(watched, event);
}

void frmChild::picBack_Resize() {
    if (QWidget* video = m_mtWmp->widget()) {
        video->setGeometry(m_picBack.rect());
    }
    if (m_mtbk != nullptr && m_mtbk->widget() != nullptr) {
        m_mtbk->widget()->setGeometry(clipArea(m_picBack.rect()));
    }
}

QRect frmChild::clipArea(const QRect& picture) {
    // The clip loops in the middle, half the picture's width and height, with the picture
    // around it; it is small to decode cheaply and scaled up to that.
    return WindowGeometry::centredIn(picture, QSize(picture.width() / 2, picture.height() / 2),
                                     true);
}

void frmChild::mtWmp_PlayStateChange(int newState) {
    showRecordingOrBackground();
    if (newState == MediaPlayer::kMediaEnded && continueWithNextRow()) {
        return;
    }
    if (ControlBar* controlBar = windows().load<ControlBar>()) {
        controlBar->setSnapshotRefused(newState != MediaPlayer::kPlaying &&
                                       newState != MediaPlayer::kPaused);
    }
}

bool frmChild::continueWithNextRow() {
    RecordingList* list = windows().load<RecordingList>();
    if (list == nullptr) {
        return false;
    }
    const QList<int> rows = list->serials();
    const auto n = static_cast<int>(rows.size());
    // Positions count from 1; a playing row that has gone counts as before the first.
    const int playing = static_cast<int>(rows.indexOf(list->playingSerial())) + 1;
    const int start = playing == n ? 1 : playing + 1;
    for (int step = 0; step < n; ++step) {
        const int position = (start - 1 + step) % n + 1;
        const int serial = rows.at(position - 1);
        if (list->isChecked(serial)) {
            // A single ticked row finds itself and plays again.
            list->armContinue(serial);
            return true;
        }
    }
    return false;
}

void frmChild::mtWmp_Error(const QString& description) {
    // The row stays as it is: the file may play once it has been copied whole.
    message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
            TextId::kWarningTitle, textOr(TextId::kRecordingUnplayable) + description);
    m_mtWmp->stop();
    if (ControlBar* controlBar = windows().load<ControlBar>()) {
        controlBar->DataShow(QStringLiteral("0|0|0|0|0|0"));
        controlBar->ClearPlayback();
    }
}

QImage frmChild::CaptureVideoArea() {
    // The decoded picture, not the screen: it is the video wherever the window lies, whatever
    // covers it, at the recording's own size.
    m_picSave = m_mtWmp->currentFrame();
    return m_picSave;
}

bool frmChild::startRecording(int serial, const QString& path,
                              const std::shared_ptr<clsDot>& track) {
    app().setCurrentTrack(nullptr);
    app().setCurrentTrack(track);
    const int start = ++m_starts;
    if (WaitService* waits = app().platform().waits) {
        waits->sleep(100);
    }
    // A timer may have started another recording during the wait; the later start stands.
    if (start != m_starts) {
        return false;
    }
    if (ControlBar* controlBar = windows().load<ControlBar>()) {
        controlBar->DrawCurves();
    }
    m_mtWmp->setUrl(path);
    m_mtWmp->play();
    m_tPlayTime.start();
    applyPlayRate();
    if (RecordingList* list = windows().load<RecordingList>()) {
        list->setPlayingSerial(serial);
        list->MarkPlayingItem(serial);
    }
    return true;
}

void frmChild::applyPlayRate() {
    bool ok = false;
    const double rate = m_picBackTag.toDouble(&ok);
    if (ok && rate > 0.0) {
        m_mtWmp->setRate(rate);
    }
}

void frmChild::tPlayTime_Timer() {
    try {
        const qint64 second = wholeSeconds(m_mtWmp->currentPosition());
        m_mtWmpTag = QString::number(second);
        ControlBar* controlBar = windows().load<ControlBar>();
        const int state = m_mtWmp->playState();
        if (state == MediaPlayer::kStopped || state == MediaPlayer::kPaused ||
            state == MediaPlayer::kPlaying) {
            const qint64 length = wholeSeconds(m_mtWmp->duration());
            if (controlBar != nullptr) {
                controlBar->ShowPlayPosition(m_mtWmpTag + u'|' + QString::number(length));
            }
            applyPlayRate();
        } else if (controlBar != nullptr) {
            // A length of 1 leaves only the mute rule to run.
            controlBar->ShowPlayPosition(m_mtWmpTag + QStringLiteral("|1"));
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle,
                textOr(TextId::kPlaybackCheckFailed) + QString::fromStdString(error.what()));
    }
}

void frmChild::mtbk_PlayStateChange(int newState) {
    // The clip loops for as long as it is on show.
    if (newState == MediaPlayer::kMediaEnded && m_clipRunning) {
        m_mtbk->setCurrentPosition(0.0);
        m_mtbk->play();
    }
}

void frmChild::showRecordingOrBackground() {
    const bool recording = m_mtWmp->playingOrPaused();
    if (QWidget* video = m_mtWmp->widget()) {
        video->setVisible(recording);
    }
    if (m_mtbk == nullptr) {
        return;
    }
    // Without its clip the picture shows whole.
    if (QWidget* clip = m_mtbk->widget()) {
        clip->setVisible(!recording && m_backgroundClipOpen);
    }
    if (!m_backgroundClipOpen) {
        return;
    }
    // Decoding a clip nobody sees would only take time from the recording.
    if (recording && m_clipRunning) {
        m_mtbk->pause();
        m_clipRunning = false;
    } else if (!recording && !m_clipRunning) {
        m_mtbk->play();
        m_clipRunning = true;
    }
}
