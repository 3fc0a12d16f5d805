#pragma once

#include <cstdint>

#include "RawTrack.h"

namespace gpx {

// What a decoded fix has to look like before it counts as one, whatever the camera. A value
// outside its range means the record was not understood (a firmware layout read the wrong
// way, a damaged block), and a second without fix is better than a wrong fix.
class FixPlausibility {
  public:
    // latestUtc: the last UTC second a fix may carry, seconds since 1970.
    explicit FixPlausibility(int64_t latestUtc) : latestUtc_(latestUtc) {}
    // Fixes may be stamped up to a day after the system clock's now, for a camera whose
    // clock runs a little ahead of the machine's.
    static FixPlausibility fromSystemClock();

    // Latitude within ±90 and longitude within ±180 (and not the blank 0, 0 of an empty
    // record), speed 0-500 km/h, heading 0-360, all finite. The time is checked apart.
    bool valuesOk(const Fix& f) const;
    // A UTC second from 2000-01-01 on and no later than the latest.
    bool timeOk(int64_t utcSecond) const;

    static constexpr double kMaxSpeedKmh = 500.0;
    static constexpr int64_t kEarliestUtc = 946684800;  // 2000-01-01 00:00:00
    static constexpr int64_t kFutureSlack = 86400;

  private:
    int64_t latestUtc_;
};

}  // namespace gpx
