#pragma once

class QString;

// Where the viewer keeps its files on Linux. Every location follows the XDG variables at the
// moment of the call, so tests can move them into a temporary folder; a variable that is
// unset, empty or not an absolute path gives the folder below the home folder.
class AppPaths {
  public:
    // $XDG_CONFIG_HOME/harventis-dvr-tools/mtconfig.mp4, ~/.config/… by default
    static QString settingsFile();
    // The recording list handed over across a language restart, beside the settings file
    // (the program folder may be read-only).
    static QString handOverFile();
    static QString scratchFolder();
    // The XDG desktop folder ($XDG_CONFIG_HOME/user-dirs.dirs), ~/Desktop when it names none
    // or a relative one.
    static QString desktopFolder();
    // $XDG_DATA_HOME/applications, ~/.local/share/applications by default
    static QString applicationsFolder();
};
