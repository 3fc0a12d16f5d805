#pragma once

#include <QImage>
#include <QString>
#include <memory>

class MediaPlayer;
class QTimer;
class clsDot;

// The video window as the list, the control bar and the map panel reach it: the player of the
// recordings, the timer that keeps the map, the read-outs and the chart in step with it, and
// the two values it keeps for them.
class VideoWindow {
  public:
    virtual ~VideoWindow();

    virtual MediaPlayer& mtWmp() = 0;
    virtual QTimer& tPlayTime() = 0;

    // The play rate chosen ("0.2" … "2"), applied at every start and every tick.
    virtual QString playRate() const = 0;
    virtual void setPlayRate(const QString& rate) = 0;
    // Gives the player the rate chosen.
    virtual void applyPlayRate() = 0;
    // The last whole playing second; "-1" before the first tick.
    virtual QString lastSecond() const = 0;

    // The picture of the video as it shows now, kept as the last snapshot; null while no
    // picture shows.
    virtual QImage CaptureVideoArea() = 0;

    // Starts the recording of a list row: its track becomes the current one, then after a
    // short wait the chart is drawn for it, the player opens and plays it at the rate chosen
    // and the list marks the row. False when a start begun during the wait took over.
    virtual bool startRecording(int serial, const QString& path,
                                const std::shared_ptr<clsDot>& track) = 0;
};
