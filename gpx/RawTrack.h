#pragma once

#include <cstddef>
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
    // What the offsets of the fixes are worth.
    enum class Clock {
        // The media's own timing (a track's sample times, a second counter): a fix belongs
        // to the second of its offset.
        Media,
        // One block a second in the order the camera wrote them: a fix belongs to the
        // second of its GNSS time, tied to the recording by the first run of blocks whose
        // GNSS seconds step with their order, since blocks are counted from the start.
        Order,
        // A stamp of the camera's clock that jitters: a fix belongs to the second of its
        // GNSS time, tied to the recording by the most common difference.
        Stamp,
    };
    Clock clock = Clock::Stamp;
    std::vector<Fix> fixes;
    std::vector<GReading> g;
    // For formats without an absolute time: the UTC second the recording started.
    std::optional<int64_t> startUtc;

    // At most this many fixes and G readings are kept, several a second for the longest
    // recording laid out (three days), so a damaged or made-up file cannot grow them
    // without bound. A telemetry camera's 200 readings a second still fit 87 minutes.
    static constexpr size_t kMaxFixes = size_t(1) << 20;
    static constexpr size_t kMaxReadings = size_t(1) << 20;

    // Keep one more; false, keeping nothing, once the track is full.
    bool addFix(const Fix& f) {
        if (fixes.size() >= kMaxFixes) {
            return false;
        }
        fixes.push_back(f);
        return true;
    }
    bool addReading(const GReading& r) {
        if (g.size() >= kMaxReadings) {
            return false;
        }
        g.push_back(r);
        return true;
    }
    // The track holds all it may of one kind, more than any recording gives: decoders stop
    // reading, as what follows is damage or made up.
    bool full() const { return fixes.size() >= kMaxFixes || g.size() >= kMaxReadings; }
};

}  // namespace gpx
