#pragma once

#include <string>
#include <string_view>

// Where the viewer and the extraction tool meet: the scratch folder HarventisDVRtempFile and
// the track document output.kml in it.
class ScratchFolder {
  public:
    static constexpr const char* kFolderName = "HarventisDVRtempFile";
    static constexpr const char* kDocumentName = "output.kml";

    // $XDG_CACHE_HOME/HarventisDVRtempFile, or ~/.cache/HarventisDVRtempFile when the
    // variable is unset or not absolute.
    static std::string path();
    static std::string documentPath();

    // The rule for a Windows program path: the root of its drive, taken up to the first
    // backslash among its first ten characters, then a second backslash and the folder.
    // "C:\Tools\movsupport\Parse.exe" gives "C:\\HarventisDVRtempFile\output.kml" (Windows
    // reads the doubled separator as one). Empty when there is no such backslash.
    static std::string windowsDocumentPath(const std::string& programPath);

    // The document the extraction tool started as programPath writes.
    static std::string documentPathFor(const std::string& programPath);

    // The drive of a Windows-style path: "C:" for "C:\x", "\\server\share" for a network
    // path, "" for anything else.
    static std::string driveName(std::string_view path);

    // The scratch folder for a program installed at programPath: the root of its drive for a
    // Windows-style path ("C:\HarventisDVRtempFile"), path() for any other.
    static std::string folderForProgramPath(std::string_view programPath);
};
