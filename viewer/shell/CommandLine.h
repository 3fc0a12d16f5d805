#pragma once

class QString;
#include <QtContainerFwd>

// The viewer's command line: one text, as the installer hands it over.
class CommandLine {
  public:
    static constexpr int kMaxArguments = 10;

    // The recordings to open when every argument names an existing .mp4 file (in any case),
    // as "Open with" starts the program; empty for any other command line, which is the
    // installer's.
    static QStringList recordingsToOpen(const QStringList& arguments);

    // The program's arguments joined with single blanks.
    static QString fromArguments(const QStringList& arguments);

    // Splits at every "*". Runs of "*" give no empty argument; characters after the
    // maxCount-th argument are dropped.
    static QStringList split(const QString& line, int maxCount = kMaxArguments);
};
