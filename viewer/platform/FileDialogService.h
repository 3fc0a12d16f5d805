#pragma once

class QString;
#include <QtContainerFwd>

// Filters are given as the string table holds them: a label, a bar and a pattern
// ("MP4 file|*.MP4"); several pairs may follow each other, separated by bars.
class FileDialogService {
  public:
    virtual ~FileDialogService();

    // Lets the user pick one or more existing files; empty when cancelled.
    virtual QStringList openFiles(const QString& title, const QString& filter) = 0;

    // Lets the user choose a file name to save under; empty when cancelled.
    virtual QString saveFile(const QString& title, const QString& filter,
                             const QString& fileName) = 0;
};
