#include "platform/QtMediaPlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <algorithm>
#include <cmath>

// What the player does with the back end, for finding out why a recording would not play:
// QT_LOGGING_RULES="harventis.player.debug=true".
Q_LOGGING_CATEGORY(lcPlayer, "harventis.player", QtWarningMsg)

namespace {

// What the window hears when the back end gives no words of its own.
QString plainDescription(QMediaPlayer::Error error) {
    switch (error) {
        case QMediaPlayer::ResourceError:
            return QStringLiteral("The recording could not be opened.");
        case QMediaPlayer::FormatError:
            return QStringLiteral("The recording is in a format that cannot be played.");
        case QMediaPlayer::AccessDeniedError:
            return QStringLiteral("The recording may not be read.");
        default:
            return QStringLiteral("The recording cannot be played.");
    }
}

}  // namespace

QtMediaPlayer::QtMediaPlayer(QWidget* parent)
    : m_player(new QMediaPlayer(&m_context)),
      m_video(new QVideoWidget(parent)),
      m_seekWatch(new QTimer(&m_context)),
      m_loadWatch(new QTimer(&m_context)),
      m_stallCheck(new QTimer(&m_context)) {
    m_clock.start();
    m_seekWatch->setInterval(kSeekWatchMilliseconds);
    QObject::connect(m_seekWatch, &QTimer::timeout, &m_context, [this] { watchSeek(); });
    m_loadWatch->setSingleShot(true);
    m_loadWatch->setInterval(kLoadLimitMilliseconds);
    QObject::connect(m_loadWatch, &QTimer::timeout, &m_context, [this] { loadTimedOut(); });
    m_stallCheck->setInterval(kStallCheckMilliseconds);
    QObject::connect(m_stallCheck, &QTimer::timeout, &m_context, [this] { checkForStall(); });
    m_video->setFullScreen(false);
    m_video->setAspectRatioMode(Qt::KeepAspectRatio);
    m_player->setVideoOutput(m_video.data());
    if (QVideoSink* sink = m_video->videoSink()) {
        QObject::connect(sink, &QVideoSink::videoFrameChanged, &m_context,
                         [this](const QVideoFrame& frame) { onFrame(frame); });
    }
    QObject::connect(m_player, &QMediaPlayer::playbackStateChanged, &m_context,
                     [this] { scheduleStateUpdate(); });
    QObject::connect(m_player, &QMediaPlayer::mediaStatusChanged, &m_context,
                     [this](QMediaPlayer::MediaStatus status) { onMediaStatus(status); });
    QObject::connect(m_player, &QMediaPlayer::positionChanged, &m_context,
                     [this](qint64 milliseconds) { onPositionChanged(milliseconds); });
    QObject::connect(m_player, &QMediaPlayer::errorOccurred, &m_context,
                     [this](QMediaPlayer::Error error, const QString& description) {
                         onError(description, error);
                     });
}

QtMediaPlayer::~QtMediaPlayer() {
    m_player->stop();
    m_player->setVideoOutput(nullptr);
    delete m_video.data();
}

QImage QtMediaPlayer::currentFrame() const {
    if (m_video.isNull() || m_video->videoSink() == nullptr) {
        return QImage();
    }
    return m_video->videoSink()->videoFrame().toImage();
}

QWidget* QtMediaPlayer::widget() {
    return m_video;
}

void QtMediaPlayer::setPlayStateHandler(PlayStateHandler handler) {
    m_handler = std::move(handler);
}

void QtMediaPlayer::setUrl(const QString& path) {
    ++m_commands;
    m_recoveries = 0;
    m_everLoaded = false;
    m_loadRetried = false;
    m_firstError.clear();
    m_url = path;
    m_seeks.clear();
    m_endExpected = false;
    m_endReached = false;
    openSource();
    scheduleStateUpdate();
}

void QtMediaPlayer::openSource() {
    ++m_source;
    m_failed = false;
    m_loaded = false;
    m_starting = false;
    m_recovering = false;
    m_playWhenLoaded = false;
    m_rateToApply = true;
    const QUrl source = m_url.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_url);
    // What the back end reports while it lets go of the old file is about that one.
    m_lettingGo = true;
    // The back end keeps a source it already has, even one that failed; it is made to read
    // the file anew.
    if (!source.isEmpty() && m_player->source() == source) {
        m_player->setSource(QUrl());
    }
    m_player->setSource(source);
    m_lettingGo = false;
    if (source.isEmpty()) {
        m_loadWatch->stop();
    } else {
        m_loadWatch->start();
    }
}

void QtMediaPlayer::loadTimedOut() {
    if (m_url.isEmpty() || m_loaded || m_failed) {
        return;
    }
    qCDebug(lcPlayer) << "not loaded in time" << m_url << m_loadRetried;
    if (!m_loadRetried) {
        // The back end now and then neither loads a file nor reports why; it gets it again.
        m_loadRetried = true;
        const bool play = m_playWhenLoaded;
        const bool paused = m_player->playbackState() == QMediaPlayer::PausedState;
        openSource();
        m_playWhenLoaded = play;
        if (paused) {
            m_player->pause();
        }
        return;
    }
    onError(QString(), QMediaPlayer::ResourceError);
}

void QtMediaPlayer::play() {
    if (m_url.isEmpty()) {
        return;
    }
    ++m_commands;
    m_recovering = false;
    if (m_failed) {
        openSource();
    }
    m_endExpected = true;
    if (!m_mute) {
        ensureAudioOutput();
    }
    waitForRenderer();
    if (!mediaLoaded()) {
        // Started while it loads, the back end can lose the rate and break off the stream; it
        // plays once loaded.
        m_playWhenLoaded = true;
        return;
    }
    startPlaying();
}

void QtMediaPlayer::startPlaying() {
    if (m_player->playbackState() != QMediaPlayer::PlayingState) {
        m_starting = true;
        m_playStartedAt = m_player->position();
    }
    m_player->play();
}

void QtMediaPlayer::pause() {
    ++m_commands;
    m_recovering = false;
    m_playWhenLoaded = false;
    m_player->pause();
    sendPendingSeek();
}

void QtMediaPlayer::stop() {
    ++m_commands;
    m_recovering = false;
    m_playWhenLoaded = false;
    m_seeks.clear();
    m_endExpected = false;
    m_endReached = false;
    m_player->stop();
    // A player that stopped on its own (at the end, on an error) is stopped already and
    // would stay where it was.
    rewind();
    scheduleStateUpdate();
}

void QtMediaPlayer::close() {
    ++m_commands;
    m_url.clear();
    m_seeks.clear();
    m_endExpected = false;
    m_endReached = false;
    m_player->stop();
    openSource();
    scheduleStateUpdate();
}

void QtMediaPlayer::rewind() {
    if (!m_url.isEmpty() && mediaLoaded() && m_player->position() != 0) {
        m_player->setPosition(0);
    }
}

bool QtMediaPlayer::readyForSeeks() const {
    if (!mediaLoaded()) {
        return false;
    }
    switch (m_player->playbackState()) {
        case QMediaPlayer::PausedState:
            return true;
        case QMediaPlayer::PlayingState:
            // Until its position moves the back end is still starting: a seek then is lost, or
            // breaks off the stream.
            return !m_starting;
        case QMediaPlayer::StoppedState:
            break;
    }
    // Stopped, the back end shows no picture and starts from where it likes; a seek waits
    // for play() or pause().
    return false;
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
    if (const auto target = m_seeks.target()) {
        return *target;
    }
    return static_cast<double>(m_player->position()) / 1000.0;
}

void QtMediaPlayer::setCurrentPosition(double seconds) {
    // Seeks still coming after the end (fast forward runs into it) belong to the run that
    // ended; the player goes back to the start all the same.
    if (m_url.isEmpty() || m_failed || m_endReached || !std::isfinite(seconds)) {
        return;
    }
    ++m_commands;
    double target = std::max(0.0, seconds);
    const double length = duration();
    if (length > 0.0) {
        target = std::min(target, length);
    }
    m_seeks.request(target);
    sendPendingSeek();
}

void QtMediaPlayer::sendPendingSeek() {
    if (!readyForSeeks()) {
        return;
    }
    // The length is known only now for a seek given while the media loaded.
    const double length = duration();
    const auto target = m_seeks.target();
    if (!m_seeks.onItsWay() && target && length > 0.0 && *target > length) {
        m_seeks.request(length);
    }
    const auto position = m_seeks.take(m_clock.elapsed());
    if (!position) {
        return;
    }
    qCDebug(lcPlayer) << "seek" << *position << "from" << m_player->position();
    m_player->setPosition(static_cast<qint64>(std::llround(*position * 1000.0)));
    m_seekWatch->start();
}

void QtMediaPlayer::watchSeek() {
    // A stopped player shows no pictures, whatever it seeks to.
    const bool picturesExpected =
        m_player->hasVideo() && m_player->playbackState() != QMediaPlayer::StoppedState;
    m_seeks.positionRead(static_cast<double>(m_player->position()) / 1000.0, picturesExpected,
                         m_clock.elapsed());
    if (!m_seeks.onItsWay()) {
        sendPendingSeek();
    }
    if (!m_seeks.onItsWay()) {
        m_seekWatch->stop();
    }
}

void QtMediaPlayer::onFrame(const QVideoFrame& frame) {
    if (!m_seeks.onItsWay() || !frame.isValid() || frame.startTime() < 0) {
        return;
    }
    m_seeks.pictureShown(static_cast<double>(frame.startTime()) / 1e6, m_clock.elapsed());
    if (!m_seeks.onItsWay()) {
        sendPendingSeek();
    }
}

void QtMediaPlayer::onMediaStatus(int status) {
    qCDebug(lcPlayer) << "status" << status << m_player->playbackState() << m_player->position();
    if (m_lettingGo) {
        scheduleStateUpdate();
        return;
    }
    switch (status) {
        case QMediaPlayer::LoadedMedia:
        case QMediaPlayer::BufferedMedia:
            m_loaded = true;
            m_everLoaded = true;
            m_loadWatch->stop();
            break;
        case QMediaPlayer::EndOfMedia:
            m_seeks.clear();
            m_seekWatch->stop();
            if (m_endExpected && !m_endReached) {
                m_endReached = true;
                m_commandsAtEnd = m_commands;
            }
            break;
        default:
            break;
    }
    if (m_loaded) {
        sendPendingSeek();
        if (m_playWhenLoaded) {
            m_playWhenLoaded = false;
            startPlaying();
        }
    }
    scheduleStateUpdate();
}

void QtMediaPlayer::onPositionChanged(qint64 milliseconds) {
    if (!m_starting || milliseconds == m_playStartedAt ||
        m_player->playbackState() != QMediaPlayer::PlayingState) {
        return;
    }
    m_starting = false;
    qCDebug(lcPlayer) << "playing from" << m_playStartedAt << "now at" << milliseconds << "rate"
                      << m_rate << m_player->playbackRate() << m_rateToApply;
    // A new file plays at the back end's own rate, whatever it says its rate is, and a rate
    // given before it really plays is lost: it is given again now.
    if (m_rateToApply) {
        m_rateToApply = false;
        if (m_rate != 1.0 || m_player->playbackRate() != 1.0) {
            reapplyRate();
            return;
        }
    }
    sendPendingSeek();
}

void QtMediaPlayer::onError(const QString& description, int error) {
    qCDebug(lcPlayer) << "error" << error << description << m_url << m_failed << m_loaded;
    if (m_url.isEmpty() || m_failed || m_lettingGo) {
        return;
    }
    m_failed = true;
    const quint64 source = m_source;
    if (m_clock.elapsed() - m_recoveredAt >= kRecoveryPauseMilliseconds) {
        m_recoveries = 0;
        m_firstError.clear();
    }
    // The first words say most; what a retry adds is often only about the stream broken off.
    if (m_firstError.isEmpty()) {
        m_firstError = description.trimmed().isEmpty()
                           ? plainDescription(static_cast<QMediaPlayer::Error>(error))
                           : description;
    }
    // The back end breaks off now and then, on a busy machine most of all (its renderer
    // changing under it, a seek at the wrong moment): the file is opened anew and goes on where
    // it was. A file that never loaded gets one more try, one that played a few.
    if (QFileInfo::exists(m_url) && m_recoveries < (m_everLoaded ? kRecoveries : 1)) {
        ++m_recoveries;
        m_recoveredAt = m_clock.elapsed();
        QTimer::singleShot(0, &m_context, [this, source] { recover(source); });
        return;
    }
    // Out of the back end's own report: the window may open a message box in its handler.
    QTimer::singleShot(0, &m_context,
                       [this, source, first = m_firstError] { failed(source, first); });
}

void QtMediaPlayer::failed(quint64 source, const QString& description) {
    if (source != m_source) {
        return;
    }
    m_seeks.clear();
    m_seekWatch->stop();
    m_loadWatch->stop();
    m_endExpected = false;
    m_endReached = false;
    m_recovering = false;
    m_playWhenLoaded = false;
    m_lettingGo = true;
    m_player->stop();
    m_lettingGo = false;
    if (!QFileInfo::exists(m_url)) {
        // Nothing is left to open.
        m_url.clear();
        openSource();
    } else {
        rewind();
    }
    updateState();
    if (m_errorHandler) {
        m_errorHandler(description);
    }
}

void QtMediaPlayer::recover(quint64 source) {
    if (source != m_source || m_url.isEmpty()) {
        return;
    }
    const double position = currentPosition();
    const int state = m_state;
    const bool play = m_playWhenLoaded || state == kPlaying;
    qCDebug(lcPlayer) << "opening anew at" << position << "state" << state;
    openSource();
    // Until it plays or pauses again the window hears nothing of the new start.
    m_recovering = state == kPlaying || state == kPaused;
    m_seeks.clear();
    if (position > 0.0) {
        m_seeks.request(position);
    }
    if (play) {
        m_playWhenLoaded = true;
    } else if (state == kPaused) {
        m_player->pause();
    }
}

double QtMediaPlayer::duration() const {
    return static_cast<double>(m_player->duration()) / 1000.0;
}

void QtMediaPlayer::setRate(double rate) {
    m_rate = rate;
    if (!readyForSeeks()) {
        // A change of rate is a seek: it waits like one.
        m_rateToApply = true;
        return;
    }
    m_player->setPlaybackRate(rate);
    // The change of rate seeks to where the back end is now, which a seek on its way has not
    // reached yet.
    m_seeks.resend();
    sendPendingSeek();
}

void QtMediaPlayer::reapplyRate() {
    m_player->setPlaybackRate(m_rate + 0.01);
    m_player->setPlaybackRate(m_rate);
    m_seeks.resend();
    sendPendingSeek();
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
    // Still while it loads is no stall.
    const bool playing = m_player->playbackState() == QMediaPlayer::PlayingState &&
                         (m_player->mediaStatus() == QMediaPlayer::LoadedMedia ||
                          m_player->mediaStatus() == QMediaPlayer::BufferedMedia);
    if (!playing || position != m_lastPosition) {
        m_lastPosition = position;
        m_stillChecks = 0;
        if (playing) {
            m_nudges = 0;
        }
        return;
    }
    if (++m_stillChecks < 2) {
        return;
    }
    // A player started before its picture had a renderer can sit still while it says it
    // plays; a change of rate gets it going again, where a seek to the same place does not.
    m_stillChecks = 0;
    qCDebug(lcPlayer) << "stalled at" << position << "nudges" << m_nudges;
    if (++m_nudges > kNudges) {
        // Nudges did not help: the file is opened anew where it was.
        m_nudges = 0;
        recover(m_source);
        return;
    }
    m_player->setPlaybackRate(m_rate + 0.01);
    QTimer::singleShot(50, &m_context, [this] {
        m_player->setPlaybackRate(m_rate);
        m_seeks.resend();
        sendPendingSeek();
    });
}

void QtMediaPlayer::updateState() {
    if (m_recovering) {
        if (mappedState() != kPlaying && mappedState() != kPaused) {
            return;
        }
        m_recovering = false;
    }
    if (m_endReached) {
        m_endReached = false;
        m_endExpected = false;
        enterState(kMediaEnded);
        // Unless someone did something with the player since the end (the handler may have
        // started it again), it waits at the start.
        if (m_commands == m_commandsAtEnd) {
            rewind();
        }
    }
    enterState(mappedState());
}

void QtMediaPlayer::enterState(int state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    qCDebug(lcPlayer) << "state" << state;
    if (state == kPlaying) {
        m_lastPosition = -1;
        m_stillChecks = 0;
        m_stallCheck->start();
    } else {
        m_stallCheck->stop();
    }
    if (m_handler) {
        m_handler(state);
    }
}
