#pragma once

class QString;

// The path with every folder and file name spelled as stored on disk: a name that does not
// exist as typed is matched without regard to letter case. A missing part gives the empty
// text. Relative paths are taken from the current folder.
class TrueCasePath {
  public:
    static QString resolve(const QString& path);
};
