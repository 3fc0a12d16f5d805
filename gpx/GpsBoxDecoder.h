#pragma once

#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// A top-level 'GPS ' box of 36-byte little-endian records, one a second: seconds since the
// start, speed in km/h × 1000 and DDMM.MMM × 1000 positions with hemisphere letters. There
// is no absolute time: the movie's creation time plus the record's second stands in for it.
class GpsBoxDecoder {
  public:
    static RawTrack decode(const MediaFile& file, const MovieInfo& movie);

    static constexpr size_t kRecordSize = 36;
};

}  // namespace gpx
