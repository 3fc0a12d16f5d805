#pragma once

#include <QString>

// The loading window as the recording list reaches it: it reads tracks through the
// extraction tool and draws them on the map, showing its progress.
class TrackLoader {
  public:
    virtual ~TrackLoader();

    // The window's tag: "One" loads the list's selected row, anything else every checked row
    // that has not been read yet.
    static constexpr const char* kLoadSelected = "One";
    static constexpr const char* kLoadChecked = "All";

    // Shows the window modally with that tag; returns once the load has ended and the window
    // has closed.
    virtual void showModal(const QString& tag) = 0;
    // Draws a track read earlier on the map again; nothing when there is no such track.
    virtual void SendGPSToMap(int serial) = 0;
};
