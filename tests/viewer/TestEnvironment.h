#pragma once

class QTemporaryDir;

// What every test program sets before its application object exists.
class TestEnvironment {
  public:
    // Points HOME and the XDG folders into folder, so nothing a test forgets to redirect can
    // reach the real home.
    static void redirectHome(const QTemporaryDir& folder);
    // The web engine refuses its sandbox as root and finds no GPU on the test machines; it
    // gets a private runtime folder and quiet logs. Values already set are kept.
    static void prepareWebEngine(const QTemporaryDir& runtime);
};
