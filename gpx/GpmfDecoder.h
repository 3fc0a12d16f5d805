#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// GPS and accelerometer in a timed-metadata track ('meta' handler, 'gpmd' entry) of
// key-length-value telemetry, one sample about a second. Reads the GPS5 and GPS9 streams of
// action cameras with their UTC stamp and fix flag, the fused position stream of camera
// drones with the device's clock mapping, and the accelerometer stream.
class GpmfDecoder {
  public:
    static RawTrack decode(const MediaFile& file, const MovieInfo& movie);

    // Decodes one telemetry sample lasting [start, start + duration) seconds into track.
    static void decodeSample(std::span<const uint8_t> sample, double start, double duration,
                             RawTrack& track);

    static constexpr double kStandardGravity = 9.80665;
};

}  // namespace gpx
