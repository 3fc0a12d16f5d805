#pragma once

#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// GPS as NMEA text in a QuickTime text track or a subtitle track, one sample a second,
// with or without a "gsensori" G-sensor sentence in the same sample.
class TextTrackDecoder {
  public:
    static RawTrack decode(const MediaFile& file, const MovieInfo& movie);
};

}  // namespace gpx
