#pragma once

class QString;

// Turns a filter as the string table holds it ("MP4 file|*.MP4") into the form Qt's file
// dialog reads ("MP4 file (*.MP4 *.mp4)"). Linux file names are case-sensitive, so every
// pattern is offered in upper and lower case too; camera cards carry both spellings.
class FileDialogFilter {
  public:
    static QString toQt(const QString& filter);
};
