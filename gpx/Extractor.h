#pragma once

#include <string>
#include <vector>

#include "GpxData.h"
#include "RawTrack.h"

namespace gpx {

class MediaFile;

// Finds the camera's way of storing GPS in a recording and lays its samples out one per
// second. Tries the layouts in the order that tells them apart on real files: the movie's
// 'gps ' index, the camera box inside a top-level 'free' box, a text or subtitle track, a
// telemetry track, a top-level 'GPS ' box, and last a scan of the media data for blocks.
// The first layout that yields samples wins.
class Extractor {
  public:
    enum class Outcome {
        Extracted,  // a movie; samples may be empty when it carries no GPS
        NotAMovie,
        Unreadable,
    };

    struct Result {
        Outcome outcome = Outcome::NotAMovie;
        int error = 0;  // errno when Unreadable
        double duration = 0.0;
        std::vector<GPX_SAMPLE> samples;
    };

    static Result extract(const std::string& path);
    static Result extract(const MediaFile& file);

    // With a movie header but no index, the media data is probed this far for blocks:
    // a camera that writes them writes one every second, so they show up early.
    static constexpr uint64_t kProbeBytes = 32u << 20;

  private:
    static bool carriesSamples(const RawTrack& track);
};

}  // namespace gpx
