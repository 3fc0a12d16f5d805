#pragma once

#include <cstdint>
#include <vector>

namespace gpx {

class MediaFile;
struct TrackInfo;

struct Sample {
    uint64_t offset = 0;  // absolute file offset
    uint32_t size = 0;
    double time = 0.0;      // seconds from the start of the track
    double duration = 0.0;  // seconds
};

// Lists the samples of one track from its size, chunk, sample-to-chunk and time tables.
// Samples that the tables describe inconsistently or that lie outside the file are left out;
// the rest are kept, and so are samples that share bytes with another, but for the first.
// A track without a timescale has no samples.
class SampleTable {
  public:
    static std::vector<Sample> read(const MediaFile& file, const TrackInfo& track);

    // Tables bigger than this are not trusted (a damaged header); a metadata track of a
    // day-long recording needs well under a megabyte.
    static constexpr uint64_t kMaxTableBytes = 16u << 20;
    // At most this many samples per track: a month of one sample per second.
    static constexpr uint32_t kMaxSamples = 1u << 21;
};

}  // namespace gpx
