#pragma once

class QString;

// The control bar as the other windows reach it: its read-outs, its chart and the keys the
// frame passes on.
class ControlBar {
  public:
    virtual ~ControlBar();

    // The snapshot button is usable only while a recording plays or is paused.
    virtual void setSnapshotRefused(bool refused) = 0;

    // Fills the chart from the current track in the chart mode chosen (speed or G-sensor).
    virtual void DrawCurves() = 0;
    // One step of keeping the read-outs in step with the player: "second|duration".
    virtual void ShowPlayPosition(const QString& position) = 0;
    // The speed digits and the car on the map: "speed|lon|lat|date|index|heading".
    virtual void DataShow(const QString& readOut) = 0;
    // After a stop: the recording closed, the chart empty.
    virtual void ClearPlayback() = 0;
    // The unit picture shows the speed unit chosen.
    virtual void ShowUnitPicture() = 0;

    // The transport keys of the frame. Each acts as its button or slider would.
    virtual void playOrPause() = 0;
    // Moves the playing position by seconds, within the recording.
    virtual void moveBy(double seconds) = 0;
    virtual void moveToStart() = 0;
    virtual void moveToEnd() = 0;
};
