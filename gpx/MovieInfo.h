#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "BoxReader.h"

namespace gpx {

// What the extractor needs to know of one track: its kind and where its sample tables are.
// The tables themselves are read only for the tracks that can carry GPS.
struct TrackInfo {
    uint32_t handler = 0;  // the hdlr handler type: 'vide', 'soun', 'text', 'sbtl', 'meta'...
    uint32_t format = 0;   // the type of the first sample entry: 'avc1', 'tx3g', 'gpmd'...
    uint32_t timescale = 0;
    uint64_t duration = 0;
    std::optional<Box> stts, stsc, stsz, stz2, stco, co64;
};

// The layout of a recording as far as the extractor cares.
struct MovieInfo {
    bool isMovie = false;  // the file starts like an MP4 or QuickTime movie
    bool hasMovieHeader = false;
    uint32_t timescale = 0;
    uint64_t duration = 0;
    uint64_t creationTime = 0;  // seconds since 1904-01-01
    // The tracks that can carry GPS: text, subtitles, timed metadata, with a timescale.
    std::vector<TrackInfo> tracks;
    std::optional<Box> novatekIndex;  // moov/'gps '
    // The first top-level box and those a layout reads: 'mdat', 'free', 'GPS ', 'frea'.
    std::vector<Box> topLevel;

    // A recording has a handful of each; more is a damaged or made-up file, and the rest
    // are not kept.
    static constexpr size_t kMaxTracks = 16;
    static constexpr size_t kMaxTopLevel = 4096;

    // The movie header's length in seconds, or a negative number when there is none.
    double durationSeconds() const {
        if (!hasMovieHeader || timescale == 0) {
            return -1.0;
        }
        return static_cast<double>(duration) / timescale;
    }
};

}  // namespace gpx
