#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "SampleTable.h"

namespace gpx {

class MediaFile;
struct TrackInfo;

// Reads the samples of a decoder's tracks: each sample once (SampleTable leaves out samples
// that share bytes), cut to what a sample of the format can hold, and all tracks together
// no more bytes than the file has, as tracks never share their samples' bytes either. So a
// damaged or made-up table costs at most one read of the file, however it points.
class TrackSampleReader {
  public:
    // Gets one sample and its bytes; returns false when it wants no more of this track.
    using Handler = std::function<bool(const Sample& sample, std::span<const uint8_t> bytes)>;

    explicit TrackSampleReader(const MediaFile& file);

    // Hands the samples of track to handler in their order, each cut to maxBytes, until the
    // handler says stop or the file's worth of bytes is spent.
    void read(const TrackInfo& track, uint64_t maxBytes, const Handler& handler);

  private:
    const MediaFile& file_;
    uint64_t budget_;
};

}  // namespace gpx
