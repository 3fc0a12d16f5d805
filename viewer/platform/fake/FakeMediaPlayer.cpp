#include "platform/fake/FakeMediaPlayer.h"

FakeMediaPlayer::FakeMediaPlayer(QWidget* parent)
    : m_widget(parent != nullptr ? new QWidget(parent) : nullptr) {}

FakeMediaPlayer::~FakeMediaPlayer() {
    delete m_widget.data();
}

void FakeMediaPlayer::setUrl(const QString& path) {
    m_calls << QStringLiteral("url=") + path;
    m_url = path;
    m_position = 0.0;
}

void FakeMediaPlayer::play() {
    m_calls << QStringLiteral("play");
    if (!m_url.isEmpty()) {
        changeState(kPlaying);
    }
}

void FakeMediaPlayer::pause() {
    m_calls << QStringLiteral("pause");
    if (m_state == kPlaying) {
        changeState(kPaused);
    }
}

void FakeMediaPlayer::stop() {
    m_calls << QStringLiteral("stop");
    m_position = 0.0;
    if (!m_url.isEmpty()) {
        changeState(kStopped);
    }
}

void FakeMediaPlayer::close() {
    m_calls << QStringLiteral("close");
    m_url.clear();
    m_position = 0.0;
    m_duration = 0.0;
    changeState(kUndefined);
}

void FakeMediaPlayer::setCurrentPosition(double seconds) {
    m_calls << QStringLiteral("position=") + QString::number(seconds);
    m_position = seconds;
}

void FakeMediaPlayer::setRate(double rate) {
    m_calls << QStringLiteral("rate=") + QString::number(rate);
    m_rate = rate;
}

void FakeMediaPlayer::setVolume(int volume) {
    m_calls << QStringLiteral("volume=") + QString::number(volume);
    m_volume = volume;
}

void FakeMediaPlayer::setMute(bool mute) {
    m_calls << QStringLiteral("mute=") + QString::number(mute ? 1 : 0);
    m_mute = mute;
}

void FakeMediaPlayer::setPlayStateHandler(PlayStateHandler handler) {
    m_handler = std::move(handler);
}

void FakeMediaPlayer::simulatePlayState(int state) {
    if (state != kMediaEnded) {
        changeState(state);
        return;
    }
    // As the real player: the end is told once, then the player waits stopped, at the start
    // unless the handler did something with it on hearing of the end.
    const qsizetype callsBefore = m_calls.size();
    changeState(kMediaEnded);
    if (m_state != kMediaEnded) {
        return;
    }
    if (m_calls.size() == callsBefore) {
        m_position = 0.0;
    }
    changeState(kStopped);
}

void FakeMediaPlayer::changeState(int state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    if (m_handler) {
        m_handler(state);
    }
}

void FakeMediaPlayer::simulateError(const QString& description) {
    m_position = 0.0;
    changeState(kStopped);
    if (m_errorHandler) {
        m_errorHandler(description);
    }
}
