#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

#include "platform/MediaPlayer.h"

class QAudioOutput;
class QMediaPlayer;
class QTimer;
class QVideoWidget;

// The player on Qt Multimedia (GStreamer): a QMediaPlayer drawing into a QVideoWidget made in
// the given parent, with no controls and never full screen. Create it before the frame is
// first shown.
//
// Sound: the audio output is made at the first play that is not muted, so a player muted
// from the start (the background clip) never opens the sound device.
class QtMediaPlayer : public MediaPlayer {
  public:
    explicit QtMediaPlayer(QWidget* parent);
    ~QtMediaPlayer() override;

    QtMediaPlayer(const QtMediaPlayer&) = delete;
    QtMediaPlayer& operator=(const QtMediaPlayer&) = delete;

    void setUrl(const QString& path) override;
    QString url() const override { return m_url; }
    void play() override;
    void pause() override;
    void stop() override;
    void close() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override;
    int playState() const override { return m_state; }
    double rate() const override { return m_rate; }
    void setRate(double rate) override;
    int volume() const override { return m_volume; }
    void setVolume(int volume) override;
    bool mute() const override { return m_mute; }
    void setMute(bool mute) override;
    QWidget* widget() override;
    void setPlayStateHandler(PlayStateHandler handler) override;
    void setErrorHandler(ErrorHandler handler) override { m_errorHandler = std::move(handler); }

    // How long play() waits at most for the video renderer.
    static constexpr int kRendererWaitMilliseconds = 3000;
    // A seek has landed once the reported position is this close to its target.
    static constexpr double kSeekLandingSeconds = 0.5;
    // While playing, the position is checked this often; a player whose position has not
    // moved for two checks is stalled and is nudged.
    static constexpr int kStallCheckMilliseconds = 800;

  private:
    bool mediaLoaded() const;
    void ensureAudioOutput();
    void waitForRenderer();
    void applyPendingSeek();
    void onPositionChanged(qint64 milliseconds);
    // Qt reports the state and the end of the media as two changes; they are read together
    // once both have arrived, so "stopped" never flashes before "media ended".
    void scheduleStateUpdate();
    void updateState();
    int mappedState() const;
    void checkForStall();

    // Ends every connection to this object when it goes first.
    QObject m_context;
    QMediaPlayer* m_player;
    QPointer<QVideoWidget> m_video;
    QAudioOutput* m_audio = nullptr;
    QString m_url;
    int m_state = kUndefined;
    double m_rate = 1.0;
    int m_volume = 50;
    bool m_mute = false;
    // A seek given before the media had loaded, or not yet reflected by the position.
    std::optional<double> m_seekTarget;
    bool m_seekSent = false;
    bool m_stateUpdatePending = false;
    PlayStateHandler m_handler;
    ErrorHandler m_errorHandler;
    QTimer* m_stallCheck;
    qint64 m_lastPosition = -1;
    int m_stillChecks = 0;
};
