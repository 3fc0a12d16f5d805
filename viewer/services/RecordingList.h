#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The recording list as the other windows reach it. A row is found by its serial number,
// which it keeps for as long as it lives; positions change as rows are removed, so no window
// holds on to one.
class RecordingList {
  public:
    virtual ~RecordingList();

    // Lets the user add recordings to the list.
    virtual void cmdOpenFile() = 0;
    // Clears the list.
    virtual void DeleteList() = 0;
    // Adds the recordings among paths (existing .mp4 files, in any case) as cmdOpenFile does
    // once the user has picked them: files dropped on the viewer, files it was started with.
    // With draw they are ticked and their tracks read and drawn at once.
    virtual void addRecordings(const QStringList& paths, bool draw) = 0;

    // The serials of the rows in list order.
    virtual QList<int> serials() const = 0;
    // The row of the recording playing or last played; 0 before the first.
    virtual int playingSerial() const = 0;
    virtual void setPlayingSerial(int serial) = 0;
    // The row the user chose last (clicked, or selected by a load); 0 when there is none.
    virtual int selectedSerial() const = 0;
    virtual void selectRow(int serial) = 0;

    // A row's recording and state; a serial without a row reads as empty and false, and
    // changes to it are ignored.
    virtual QString path(int serial) const = 0;
    virtual bool isChecked(int serial) const = 0;
    // Ticks or unticks the row; its route is not drawn or taken off by this.
    virtual void setChecked(int serial, bool checked) = 0;
    // The track has been read (whether or not it held points).
    virtual bool isLoaded(int serial) const = 0;
    virtual void setLoaded(int serial) = 0;
    // The track is drawn on the map.
    virtual bool isOnMap(int serial) const = 0;
    virtual void setOnMap(int serial, bool onMap) = 0;
    // The recording could not be read or has gone; such rows are removed by removeMissingRows.
    virtual void setMissing(int serial) = 0;
    virtual void removeMissingRows() = 0;

    // Writes the rows for the next run, across the restart a language change needs: each
    // row's date and time and its recording's path. A failure is told to the user; false then.
    virtual bool saveHandOver() = 0;

    // Repaints the row stripes after the row count changed.
    virtual void FullListBackColor() = 0;
    // Colours the rows: the playing one yellow and bold, the others by Normal or Lock.
    virtual void MarkPlayingItem(int serial) = 0;

    // Starts the row of that serial as continuous play does, about 100 ms from now.
    virtual void armContinue(int serial) = 0;
};
