#pragma once

#include <functional>

class QImage;
class QString;
class QWidget;

// The player of the video window and of its background clip. Play states keep the numbers
// the playback logic tests for; the real player maps its own states onto them.
class MediaPlayer {
  public:
    // Nothing open yet, or closed.
    static constexpr int kUndefined = 0;
    static constexpr int kStopped = 1;
    static constexpr int kPaused = 2;
    static constexpr int kPlaying = 3;
    static constexpr int kMediaEnded = 8;

    using PlayStateHandler = std::function<void(int newState)>;
    // The player's own words for what went wrong (a file it cannot decode, a vanished file).
    using ErrorHandler = std::function<void(const QString& description)>;

    virtual ~MediaPlayer();

    // Opening a file starts loading it.
    virtual void setUrl(const QString& path) = 0;
    virtual QString url() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;

    // Seconds from the start of the recording.
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    // Seconds; 0 while nothing is open.
    virtual double duration() const = 0;

    virtual int playState() const = 0;
    // A recording is open and shows: it plays or is paused.
    bool playingOrPaused() const { return playState() == kPlaying || playState() == kPaused; }

    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;

    // 0 to 100.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;

    virtual bool mute() const = 0;
    virtual void setMute(bool mute) = 0;

    // The picture showing now as it was decoded, at the recording's own size; a null image
    // while none shows.
    virtual QImage currentFrame() const = 0;

    // The picture area; nullptr for players without one.
    virtual QWidget* widget() = 0;

    // Called on the window thread after each change of the play state.
    virtual void setPlayStateHandler(PlayStateHandler handler) = 0;
    // Called on the window thread when the open recording cannot be played; the player has
    // stopped by then.
    virtual void setErrorHandler(ErrorHandler handler) = 0;
};
