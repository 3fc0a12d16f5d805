#pragma once

// The recording list as the frame's buttons reach it.
class RecordingList {
  public:
    virtual ~RecordingList();

    // Lets the user add recordings to the list.
    virtual void cmdOpenFile() = 0;
    // Clears the list.
    virtual void DeleteList() = 0;
};
