#pragma once

#include <string>

#include "GpxData.h"

// The track document the viewer reads back: a small XML text of our own design, 8-bit,
// numbers in the C locale ("%f" and "%d"). Lines are written as a Windows text stream
// writes them, so a line whose template already ends in CR LF ends in CR CR LF on disk.
class TrackDocumentWriter {
  public:
    static std::string render(const GPX_DATA& data);

    // Writes the document to a temporary file beside path and renames it onto path once it
    // is complete, so a reader polling for path never sees half a document. False, with
    // nothing left behind, when that fails.
    static bool writeFile(const std::string& path, const std::string& document);
};
