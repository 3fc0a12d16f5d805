#pragma once

#include <QString>

// What the recording list reads from a recording's path: the date from its folder's name, the
// time and the Normal or Lock kind from its own name. Cameras name folders with the eight
// digits of the day (20100506) and files with the six of the time (120000), a locked file
// with a last "P" (120000AP); other cameras put both into the file name
// (20170708_221449_N): then their first plain digit groups serve.
class RecordingName {
  public:
    explicit RecordingName(const QString& path);

    // The file name without its folder and its extension.
    const QString& baseName() const { return m_baseName; }
    // A locked recording: the base name's last character is "P", in either case.
    bool isLock() const;
    // "2010/05/06", exactly 10 characters: the folder's eight digits, else the first group of
    // eight digits that reads as a day in the folder's name or the file's, else the folder's
    // name as it is (its first 8 characters when longer), padded or cut to 10.
    QString dateText() const;
    // "12:00:00": the base name's six digits (its last 2 characters dropped for a Lock
    // recording), else its first group of six digits that reads as a clock time, else the
    // name as it is.
    QString timeText() const;
    // Date, two blanks and time, made exactly 20 characters wide.
    QString dateTimeText() const;
    // The date and time text, two blanks, the label.
    QString displayText(const QString& label) const;

    static constexpr int kDateWidth = 10;
    static constexpr int kDateTimeWidth = 20;

  private:
    QString m_folderName;
    QString m_baseName;
};
