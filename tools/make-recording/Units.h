#pragma once

#include <cstdint>

namespace makerec {

// Conversions between the route's units and the ones cameras store.
class Units {
  public:
    static constexpr double kStandardGravity = 9.80665;  // m/s² per g

    static double knots(double kmh) { return kmh / 1.852; }
    static double metresPerSecond(double kmh) { return kmh / 3.6; }
    // Unsigned degrees and minutes as cameras write them: 34.5° -> 3430.0 (DDMM.MMMM).
    static double degreesMinutes(double degrees);
    // The same in whole units of 10^-decimals minutes, carried so minutes never read 60.
    static int64_t degreesMinutesScaled(double degrees, int decimals);
    // G in counts of a sensor with countsPerG, rounded to the nearest count.
    static int32_t counts(double g, double countsPerG);
};

}  // namespace makerec
