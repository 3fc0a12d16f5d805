#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Atom.h"
#include "Bytes.h"

namespace makerec {

// ffmpeg's movie as the starting point of a recording: its ftyp, where its media data lies,
// and its moov with the sample tables that point into that media data. The media data itself
// stays on disk and is copied, never loaded.
class SourceMovie {
  public:
    // Throws ToolError when the file is not the ftyp/mdat/moov movie ffmpeg writes.
    explicit SourceMovie(std::string path);

    const std::string& path() const { return path_; }
    const Bytes& ftyp() const { return ftyp_; }  // the whole box
    uint64_t mediaOffset() const { return mediaOffset_; }
    uint64_t mediaSize() const { return mediaSize_; }
    const Atom& moov() const { return *moov_; }

  private:
    std::string path_;
    Bytes ftyp_;
    uint64_t mediaOffset_ = 0;
    uint64_t mediaSize_ = 0;
    std::optional<Atom> moov_;
};

}  // namespace makerec
