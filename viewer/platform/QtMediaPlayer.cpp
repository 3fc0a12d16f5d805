#include "platform/QtMediaPlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoSink>
#include <QVideoWidget>
#include <algorithm>
#include <cmath>

QtMediaPlayer::QtMediaPlayer(QWidget* parent)
    : m_player(new QMediaPlayer(&m_context)),
      m_video(new QVideoWidget(parent)),
      m_stallCheck(new QTimer(&m_context)) {
    m_stallCheck->setInterval(kStallCheckMilliseconds);
    QObject::connect(m_stallCheck, &QTimer::timeout, &m_context, [this] { checkForStall(); });
    m_video->setFullScreen(false);
    m_video->setAspectRatioMode(Qt::KeepAspectRatio);
    m_player->setVideoOutput(m_video.data());
    QObject::connect(m_player, &QMediaPlayer::playbackStateChanged, &m_context,
                     [this] { scheduleStateUpdate(); });
    QObject::connect(
        m_player, &QMediaPlayer::mediaStatusChanged, &m_context,
        [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia) {
                applyPendingSeek();
            }
            scheduleStateUpdate();
        });
    QObject::connect(m_player, &QMediaPlayer::positionChanged, &m_context,
                     [this](qint64 milliseconds) { onPositionChanged(milliseconds); });
}

QtMediaPlayer::~QtMediaPlayer() {
    m_player->stop();
    m_player->setVideoOutput(nullptr);
    delete m_video.data();
}

QWidget* QtMediaPlayer::widget() {
    return m_video;
}

void QtMediaPlayer::setPlayStateHandler(PlayStateHandler handler) {
    m_handler = std::move(handler);
}

void QtMediaPlayer::setUrl(const QString& path) {
    m_url = path;
    m_seekTarget.reset();
    m_seekSent = false;
    m_player->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
    scheduleStateUpdate();
}

void QtMediaPlayer::play() {
    if (m_url.isEmpty()) {
        return;
    }
    if (!m_mute) {
        ensureAudioOutput();
    }
    waitForRenderer();
    m_player->play();
    m_player->setPlaybackRate(m_rate);
}

void QtMediaPlayer::pause() {
    m_player->pause();
}

void QtMediaPlayer::stop() {
    m_seekTarget.reset();
    m_seekSent = false;
    m_player->stop();
}

void QtMediaPlayer::close() {
    m_url.clear();
    m_seekTarget.reset();
    m_seekSent = false;
    m_player->stop();
    m_player->setSource(QUrl());
    scheduleStateUpdate();
}

bool QtMediaPlayer::mediaLoaded() const {
    switch (m_player->mediaStatus()) {
        case QMediaPlayer::LoadedMedia:
        case QMediaPlayer::BufferingMedia:
        case QMediaPlayer::BufferedMedia:
        case QMediaPlayer::StalledMedia:
        case QMediaPlayer::EndOfMedia:
            return true;
        default:
            return false;
    }
}

double QtMediaPlayer::currentPosition() const {
    if (m_seekTarget) {
        return *m_seekTarget;
    }
    return static_cast<double>(m_player->position()) / 1000.0;
}

void QtMediaPlayer::setCurrentPosition(double seconds) {
    if (m_url.isEmpty() || !std::isfinite(seconds)) {
        return;
    }
    double target = std::max(0.0, seconds);
    const double length = duration();
    if (length > 0.0) {
        target = std::min(target, length);
    }
    m_seekTarget = target;
    m_seekSent = false;
    if (mediaLoaded()) {
        applyPendingSeek();
    }
}

void QtMediaPlayer::applyPendingSeek() {
    if (!m_seekTarget || m_seekSent) {
        return;
    }
    // The length is known only now for a seek given while the media loaded.
    const double length = duration();
    if (length > 0.0) {
        m_seekTarget = std::min(*m_seekTarget, length);
    }
    m_seekSent = true;
    m_player->setPosition(static_cast<qint64>(std::llround(*m_seekTarget * 1000.0)));
}

void QtMediaPlayer::onPositionChanged(qint64 milliseconds) {
    if (m_seekTarget && m_seekSent &&
        std::abs(static_cast<double>(milliseconds) / 1000.0 - *m_seekTarget) <=
            kSeekLandingSeconds) {
        m_seekTarget.reset();
        m_seekSent = false;
    }
}

double QtMediaPlayer::duration() const {
    return static_cast<double>(m_player->duration()) / 1000.0;
}

void QtMediaPlayer::setRate(double rate) {
    m_rate = rate;
    m_player->setPlaybackRate(rate);
}

void QtMediaPlayer::setVolume(int volume) {
    m_volume = std::clamp(volume, 0, 100);
    if (m_audio != nullptr) {
        m_audio->setVolume(static_cast<float>(m_volume) / 100.0F);
    }
}

void QtMediaPlayer::setMute(bool mute) {
    m_mute = mute;
    if (m_audio != nullptr) {
        m_audio->setMuted(mute);
    } else if (!mute && m_state == kPlaying) {
        ensureAudioOutput();
    }
}

void QtMediaPlayer::ensureAudioOutput() {
    // Without any sound device the media back end falls back to sinks that fail to open and
    // can stall the whole recording; the picture plays on without sound instead.
    if (m_audio != nullptr || QMediaDevices::audioOutputs().isEmpty()) {
        return;
    }
    m_audio = new QAudioOutput(&m_context);
    m_audio->setVolume(static_cast<float>(m_volume) / 100.0F);
    m_audio->setMuted(m_mute);
    m_player->setAudioOutput(m_audio);
}

void QtMediaPlayer::waitForRenderer() {
    // On X11 a player started before the widget's renderer exists can stall; the renderer
    // comes only for a shown widget, and never on the offscreen platform.
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || m_video.isNull() ||
        !m_video->isVisible()) {
        return;
    }
    QVideoSink* sink = m_video->videoSink();
    if (sink == nullptr || sink->rhi() != nullptr) {
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (m_video.isNull() || m_video->videoSink() == nullptr ||
            m_video->videoSink()->rhi() != nullptr ||
            waited.elapsed() >= kRendererWaitMilliseconds) {
            loop.quit();
        }
    });
    poll.start(10);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtMediaPlayer::scheduleStateUpdate() {
    if (m_stateUpdatePending) {
        return;
    }
    m_stateUpdatePending = true;
    QTimer::singleShot(0, &m_context, [this] {
        m_stateUpdatePending = false;
        updateState();
    });
}

int QtMediaPlayer::mappedState() const {
    if (m_url.isEmpty()) {
        return kUndefined;
    }
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia &&
        m_player->playbackState() == QMediaPlayer::StoppedState) {
        return kMediaEnded;
    }
    switch (m_player->playbackState()) {
        case QMediaPlayer::PlayingState:
            return kPlaying;
        case QMediaPlayer::PausedState:
            return kPaused;
        case QMediaPlayer::StoppedState:
            break;
    }
    return kStopped;
}

void QtMediaPlayer::checkForStall() {
    const qint64 position = m_player->position();
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState &&
                         m_player->mediaStatus() != QMediaPlayer::EndOfMedia;
    if (!playing || position != m_lastPosition) {
        m_lastPosition = position;
        m_stillChecks = 0;
        return;
    }
    if (++m_stillChecks < 2) {
        return;
    }
    // A player started before its picture had a renderer can sit still while it says it
    // plays; a change of rate gets it going again, where a seek to the same place does not.
    m_stillChecks = 0;
    if (m_seekTarget && m_seekSent) {
        m_seekSent = false;
        applyPendingSeek();
    }
    m_player->setPlaybackRate(m_rate + 0.01);
    QTimer::singleShot(50, &m_context, [this] { m_player->setPlaybackRate(m_rate); });
}

void QtMediaPlayer::updateState() {
    const int state = mappedState();
    if (state == m_state) {
        return;
    }
    m_state = state;
    if (state == kPlaying) {
        m_lastPosition = -1;
        m_stillChecks = 0;
        m_stallCheck->start();
    } else {
        m_stallCheck->stop();
    }
    if (state == kMediaEnded) {
        m_seekTarget.reset();
        m_seekSent = false;
    }
    if (m_handler) {
        m_handler(state);
    }
}
