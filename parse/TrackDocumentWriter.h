#pragma once

#include <functional>
#include <string>

#include "GpxData.h"

// The track document the viewer reads back: a small XML text of our own design, 8-bit,
// numbers in the C locale ("%f" and "%d"). Lines are written as a Windows text stream
// writes them, so a line whose template already ends in CR LF ends in CR CR LF on disk.
class TrackDocumentWriter {
  public:
    static std::string render(const GPX_DATA& data);

    // One floating value as the document writes it ("%f" in the C locale).
    static std::string formatFloat(double v);

    // Writes the document to a temporary file beside path and renames it onto path once it
    // is complete, so a reader polling for path never sees half a document. False, with
    // nothing left behind, when that fails.
    static bool writeFile(const std::string& path, const GPX_DATA& data);

  private:
    // Hands the document to sink in pieces, so an hour-long recording never needs its
    // whole document in memory; false from the sink stops the writing.
    static bool emit(const GPX_DATA& data, const std::function<bool(const std::string&)>& sink);
};
