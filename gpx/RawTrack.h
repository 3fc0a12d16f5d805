#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace gpx {

// One position report as a camera stored it, already in our units.
struct Fix {
    double offset = 0.0;  // seconds from the start of the recording
    bool valid = false;   // the receiver had a fix
    bool hasTime = false;
    int64_t utcMillis = 0;  // milliseconds since 1970-01-01 UTC, when hasTime
    double latitude = 0.0;  // decimal degrees, south negative
    double longitude = 0.0;
    double speedKmh = 0.0;
    double heading = 0.0;  // degrees true
};

// One G-sensor reading, in g.
struct GReading {
    double offset = 0.0;  // seconds from the start of the recording
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Everything one decoder found in a recording, before it is laid out one record per second.
struct RawTrack {
    bool found = false;  // the recording carries a GPS or G-sensor stream of this kind
    // True when offsets come from the media's own timing (a track's sample times, a second
    // counter): fixes then belong to the second of their offset. False when offsets are only
    // an order or a jittering stamp: fixes then belong to the second of their GNSS time.
    bool mediaClock = false;
    std::vector<Fix> fixes;
    std::vector<GReading> g;
    // For formats without an absolute time: the UTC second the recording started.
    std::optional<int64_t> startUtc;
};

}  // namespace gpx
