#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// A top-level 'free' box holding ordinary boxes: 'sttm' (start of the recording, local
// milliseconds), 'gps ' (NMEA lines each stamped "[local milliseconds]") and '3gf '
// (accelerometer records, about ten a second).
class BlackVueDecoder {
  public:
    static RawTrack decode(const MediaFile& file, const MovieInfo& movie);

    // The pieces on their own, as the camera also writes them beside the recording.
    static void readGpsLog(std::string_view text, std::optional<int64_t> startMillis,
                           RawTrack& track);
    static void readAccelerometer(std::span<const uint8_t> records, RawTrack& track);

    // The accelerometer counts about 128 a g: the mean magnitude of recordings at rest.
    static constexpr double kCountsPerG = 128.0;
    // The text and records of a day-long recording fit well in this; more is damage.
    static constexpr uint64_t kMaxBoxBytes = 64u << 20;
    // The camera's clock counts milliseconds since 1970; a start time or stamp beyond this
    // (some 35,000 years) is damage and is ignored.
    static constexpr int64_t kMaxClockMillis = int64_t(1) << 50;
};

}  // namespace gpx
