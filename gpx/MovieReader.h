#pragma once

#include "MovieInfo.h"

namespace gpx {

class MediaFile;

// Reads the box structure of a recording: the top-level boxes, the movie header and the
// tracks. Only headers and the few small boxes it needs are read, never the media data.
class MovieReader {
  public:
    static MovieInfo read(const MediaFile& file);

  private:
    static void readMovie(const MediaFile& file, const Box& moov, MovieInfo& info);
    static void readTrack(const MediaFile& file, const Box& trak, MovieInfo& info);
    static void readMedia(const MediaFile& file, const Box& box, TrackInfo& track, int depth);
};

}  // namespace gpx
