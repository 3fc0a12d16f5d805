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
    // Qt's offscreen platform with one 1280 × 1024 screen, the size of the virtual screens the
    // end-to-end tests run on (its own default is too small for the 1024 × 708 frame to be
    // centred anywhere). A platform already chosen is kept.
    static void useOffscreenScreen(const QTemporaryDir& folder);
};
