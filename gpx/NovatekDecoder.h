#pragma once

#include <optional>
#include <span>

#include "NovatekBlock.h"
#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// One "freeGPS " block a second in the media data, found through the movie's 'gps ' index
// or, when the index is missing or leads nowhere, by scanning the media data for blocks.
// NovatekBlock knows the layouts of the blocks.
class NovatekDecoder {
  public:
    static RawTrack decode(const MediaFile& file, const MovieInfo& movie);

    // Decodes one block, given from its size field on. Nothing when the block is not in a
    // layout we know; a fix with valid = false for a void second. The G reading is set
    // when the block carries one.
    using Block = NovatekBlock;
    static std::optional<Block> decodeBlock(
        std::span<const uint8_t> block,
        NovatekBlock::Firmware firmware = NovatekBlock::Firmware::Usual);

    // Looks for blocks in the media data. With a probe limit, gives up when none turns up
    // in that many bytes of a media data box; 0 scans everything.
    static RawTrack scan(const MediaFile& file, const MovieInfo& movie, uint64_t probeLimit);

  private:
    static RawTrack fromIndex(const MediaFile& file, const MovieInfo& movie);
};

}  // namespace gpx
