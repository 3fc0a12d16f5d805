#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "NovatekBlock.h"
#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// Finds "freeGPS " blocks by their marker in the media data, for a recording whose index is
// missing (cut off by a power failure before its movie was written) or leads nowhere.
// It stops once it has as many blocks as a recording can have seconds, so neither the time
// nor the memory it takes grows with what a damaged or hostile file repeats.
class NovatekScanner {
  public:
    // With a probe limit, gives up when no block turns up in that many bytes of a media data
    // box; 0 scans everything.
    static RawTrack scan(const MediaFile& file, const MovieInfo& movie, uint64_t probeLimit);

    // The media data is read this much at a time, whatever the size of the recording.
    static constexpr size_t kChunk = 1u << 20;

  private:
    // Gives each block, in the order found, the second of the recording it was written in.
    static void placeSeconds(std::vector<NovatekBlock>& blocks);
};

}  // namespace gpx
