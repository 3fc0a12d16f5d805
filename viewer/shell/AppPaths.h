#pragma once

class QString;

// Where the viewer keeps its files on Linux. Every location follows the XDG variables at the
// moment of the call, so tests can move them into a temporary folder.
class AppPaths {
  public:
    // $XDG_CONFIG_HOME/harventis-dvr-tools/mtconfig.mp4
    static QString settingsFile();
    static QString scratchFolder();
    // The XDG desktop folder (user-dirs.dirs), ~/Desktop when it names none.
    static QString desktopFolder();
    // $XDG_DATA_HOME/applications
    static QString applicationsFolder();
};
