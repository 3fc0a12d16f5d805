#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "platform/MediaPlayer.h"

// Behaves like a player that opens every file at once: play, pause and stop change the play
// state and call the handler. Every call is written to calls() as text ("url=/a.mp4",
// "play", "position=12.5", "rate=2", "volume=40", "mute=1", ...). Made with a parent, it
// has a plain widget there as its picture area, so a window's layout of it can be checked.
class FakeMediaPlayer : public MediaPlayer {
  public:
    explicit FakeMediaPlayer(QWidget* parent = nullptr);
    ~FakeMediaPlayer() override;
    FakeMediaPlayer(const FakeMediaPlayer&) = delete;
    FakeMediaPlayer& operator=(const FakeMediaPlayer&) = delete;

    void setUrl(const QString& path) override;
    QString url() const override { return m_url; }
    void play() override;
    void pause() override;
    void stop() override;
    void close() override;
    double currentPosition() const override { return m_position; }
    void setCurrentPosition(double seconds) override;
    double duration() const override { return m_duration; }
    int playState() const override { return m_state; }
    double rate() const override { return m_rate; }
    void setRate(double rate) override;
    int volume() const override { return m_volume; }
    void setVolume(int volume) override;
    bool mute() const override { return m_mute; }
    void setMute(bool mute) override;
    QImage currentFrame() const override { return m_frame; }
    QWidget* widget() override { return m_widget; }
    void setPlayStateHandler(PlayStateHandler handler) override;
    void setErrorHandler(ErrorHandler handler) override { m_errorHandler = std::move(handler); }

    // The world as the test wants it: the open file's length, the playing position, a state
    // the player reaches on its own. At the end of the media (8) the handler hears 8, then 1
    // with the position back at 0, as from the real player; a handler that plays again on
    // hearing 8 keeps the player playing.
    void setDuration(double seconds) { m_duration = seconds; }
    void simulatePosition(double seconds) { m_position = seconds; }
    void simulatePlayState(int state);
    // The picture the player shows from now on.
    void showFrame(const QImage& frame) { m_frame = frame; }
    // The player gives up on the open file: it stops, then reports.
    void simulateError(const QString& description);

    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

  private:
    void changeState(int state);

    QStringList m_calls;
    QString m_url;
    double m_position = 0.0;
    double m_duration = 0.0;
    int m_state = kUndefined;
    double m_rate = 1.0;
    int m_volume = 50;
    bool m_mute = false;
    PlayStateHandler m_handler;
    ErrorHandler m_errorHandler;
    QPointer<QWidget> m_widget;
    QImage m_frame;
};
