#pragma once

#include <cstddef>

#include "DateTime.h"
#include "Route.h"

namespace makerec {

// Makes up a plausible drive for demos and benchmarks when nobody wants to write a route:
// a few seconds without a fix, then a smooth curving road south and west of the equator and
// the meridian (where sign mistakes show), speeds 0-90 km/h with stops, a small G-sensor
// signal around (0, 0, 1) g with an occasional bump, and, in longer drives, one second in
// the middle where the camera wrote nothing. The same arguments always give the same route.
class RouteSynthesizer {
  public:
    static constexpr int kZoneMinutes = -180;  // the camera's clock near -34.60, -58.38

    static DateTime defaultStart();
    Route make(size_t seconds, DateTime start) const;
};

}  // namespace makerec
