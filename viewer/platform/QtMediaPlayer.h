#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include "platform/MediaPlayer.h"
#include "platform/SeekQueue.h"

class QAudioOutput;
class QMediaPlayer;
class QTimer;
class QVideoFrame;
class QVideoWidget;

// The player on Qt Multimedia (GStreamer): a QMediaPlayer drawing into a QVideoWidget made in
// the given parent, with no controls and never full screen. Create it before the frame is
// first shown.
//
// Sound: the audio output is made at the first play that is not muted, so a player muted
// from the start (the background clip) never opens the sound device.
//
// A recording played to its end is reported as ended (8) once, then the player waits stopped
// (1) at its start, unless the play-state handler did something else with it on hearing of
// the end. A recording that cannot be played stops the player (1, or 0 when its file is gone)
// before the error handler hears of it, once; play() then tries the file again.
//
// The back end loses a rate or a seek given while it still starts (and may break off the
// stream): play() given while the file loads waits until it has loaded, and seeks and rates
// wait until the position moves. currentPosition() gives the position asked for until its
// picture shows. When the back end breaks off a file that exists (it does now and then on a
// busy machine), the file is opened anew and goes on where it was; only an error that comes
// again is reported.
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
    QImage currentFrame() const override;
    QWidget* widget() override;
    void setPlayStateHandler(PlayStateHandler handler) override;
    void setErrorHandler(ErrorHandler handler) override { m_errorHandler = std::move(handler); }

    // Whether a seek has yet to show its picture (currentPosition() gives its target).
    bool seeking() const { return m_seeks.target().has_value(); }

    // How long play() waits at most for the video renderer.
    static constexpr int kRendererWaitMilliseconds = 3000;
    // A file that has neither loaded nor failed by then is opened once more, then given up.
    static constexpr int kLoadLimitMilliseconds = 4000;
    // While a seek is on its way, the position is read this often.
    static constexpr int kSeekWatchMilliseconds = 40;
    // While playing, the position is checked this often; a player whose position has not
    // moved for two checks is stalled and is nudged.
    static constexpr int kStallCheckMilliseconds = 800;
    // Nudges given to a stalled player before its file is opened anew.
    static constexpr int kNudges = 2;
    // A file that has played is opened anew after errors at most this often in a row; once it
    // has gone on for kRecoveryPauseMilliseconds, the count starts again.
    static constexpr int kRecoveries = 3;
    static constexpr qint64 kRecoveryPauseMilliseconds = 10000;

  private:
    bool mediaLoaded() const;
    bool readyForSeeks() const;
    void openSource();
    void ensureAudioOutput();
    void startPlaying();
    void waitForRenderer();
    void sendPendingSeek();
    void watchSeek();
    void onFrame(const QVideoFrame& frame);
    void onMediaStatus(int status);
    void onPositionChanged(qint64 milliseconds);
    void onError(const QString& description, int error);
    void loadTimedOut();
    void failed(quint64 source, const QString& description);
    // Opens the file anew and goes on where it was.
    void recover(quint64 source);
    void rewind();
    // Makes the back end run at the player's rate again, whatever it believes its rate is.
    void reapplyRate();
    // Qt reports the state and the end of the media as two changes; they are read together
    // once both have arrived, so "stopped" never flashes before "media ended".
    void scheduleStateUpdate();
    void updateState();
    void enterState(int state);
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
    SeekQueue m_seeks;
    QElapsedTimer m_clock;
    QTimer* m_seekWatch;
    QTimer* m_loadWatch;
    // The file set last was opened a second time because it did not load.
    bool m_loadRetried = false;
    bool m_stateUpdatePending = false;
    // Counts the calls that tell the player what to do, so the end of the media can tell
    // whether anyone has done something with the player since.
    quint64 m_commands = 0;
    // The end has come and is still to be reported; m_commandsAtEnd is m_commands then.
    bool m_endReached = false;
    quint64 m_commandsAtEnd = 0;
    // After stop(), close() or a new file, an end the back end still reports is no end.
    bool m_endExpected = false;
    // Counts the files opened, so a late report about an earlier one is dropped.
    quint64 m_source = 0;
    // The open file could not be played (the error handler hears of it unless it is opened
    // anew); the back end's first words about the file set last.
    bool m_failed = false;
    QString m_firstError;
    // The file opened last has not yet been given the player's rate.
    bool m_rateToApply = false;
    // The file opened last has loaded; the file set last has loaded at some time.
    bool m_loaded = false;
    bool m_everLoaded = false;
    // The back end is letting go of a file: what it reports meanwhile is about that one.
    bool m_lettingGo = false;
    // How often the file was opened anew after an error lately, and when last.
    int m_recoveries = 0;
    qint64 m_recoveredAt = 0;
    // The back end was told to play and its position has not yet moved from where it was.
    bool m_starting = false;
    qint64 m_playStartedAt = 0;
    // Opened anew, the player has not yet reached the state it was in.
    bool m_recovering = false;
    // play() came before the file had loaded.
    bool m_playWhenLoaded = false;
    PlayStateHandler m_handler;
    ErrorHandler m_errorHandler;
    QTimer* m_stallCheck;
    qint64 m_lastPosition = -1;
    int m_stillChecks = 0;
    int m_nudges = 0;
};
