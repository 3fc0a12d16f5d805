#pragma once

#include <QtGlobal>
#include <optional>

// The seeks of a player, one on its way to the back end at a time. The newest position asked
// for is what the player shows until the picture is there; positions asked for while a seek is
// on its way wait, and only the newest of them follows once it has landed. Fast forward (a seek
// a second further every tenth of a second) so moves on steadily instead of piling up flushes
// in the back end that never show a picture.
//
// The back end drops a seek now and then (one given while it still settles after loading, or
// overtaken by a flush of its own); a seek that shows no picture of its place in time is sent
// again, a few times at most.
//
// Times are milliseconds on any steady clock the caller keeps.
class SeekQueue {
  public:
    // A seek has landed once a picture or the position is this close to it.
    static constexpr double kLandingSeconds = 0.5;
    // A picture of another place this long after sending means the back end went elsewhere.
    static constexpr qint64 kStrayPictureMilliseconds = 150;
    // Without pictures, the back end may still answer with the position it seeks to right
    // after a seek; only a position read this long after it is taken as landed.
    static constexpr qint64 kPositionTrustMilliseconds = 250;
    // A seek that has not landed by then is sent again.
    static constexpr qint64 kResendMilliseconds = 700;
    // How often one position is sent before it is let go (one the back end cannot reach).
    static constexpr int kTries = 3;

    // The newest position asked for.
    void request(double seconds);
    // The position to send now, or nothing when there is none or one is still on its way.
    std::optional<double> take(qint64 now);
    // A picture of that time was shown.
    void pictureShown(double seconds, qint64 now);
    // The back end reports that position. picturesExpected: whether the landing will show a
    // picture (a player with video that is not stopped).
    void positionRead(double seconds, bool picturesExpected, qint64 now);
    // The seek on its way is to be sent again (the back end lost it).
    void resend();
    void clear();

    // The newest position asked for and not yet reached.
    std::optional<double> target() const { return m_target; }
    bool onItsWay() const { return m_sent.has_value(); }

  private:
    void land();
    void retry();

    std::optional<double> m_target;
    std::optional<double> m_sent;
    qint64 m_sentAt = 0;
    int m_tries = 0;
};
