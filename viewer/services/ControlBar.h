#pragma once

// The control bar as the video window reaches it.
class ControlBar {
  public:
    virtual ~ControlBar();

    // The snapshot button is usable only while a recording plays or is paused.
    virtual void setSnapshotRefused(bool refused) = 0;
};
