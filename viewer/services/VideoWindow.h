#pragma once

class MediaPlayer;
class QTimer;

// The video window as the list and the map panel reach it: the player of the recordings and
// the timer that keeps the map, the read-outs and the chart in step with it.
class VideoWindow {
  public:
    virtual ~VideoWindow();

    virtual MediaPlayer& mtWmp() = 0;
    virtual QTimer& tPlayTime() = 0;
};
