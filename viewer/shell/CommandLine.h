#pragma once

class QString;
#include <QtContainerFwd>

// The viewer's command line: one text, as the installer hands it over.
class CommandLine {
  public:
    static constexpr int kMaxArguments = 10;

    // The program's arguments joined with single blanks.
    static QString fromArguments(const QStringList& arguments);

    // Splits at every "*". Runs of "*" give no empty argument; characters after the
    // maxCount-th argument are dropped.
    static QStringList split(const QString& line, int maxCount = kMaxArguments);
};
