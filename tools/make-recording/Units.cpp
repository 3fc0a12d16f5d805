#include "Units.h"

#include <cmath>

namespace makerec {

double Units::degreesMinutes(double degrees) {
    const double magnitude = std::fabs(degrees);
    const double whole = std::floor(magnitude);
    return whole * 100 + (magnitude - whole) * 60;
}

int64_t Units::degreesMinutesScaled(double degrees, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Round once, in minutes, then split: rounding the minutes alone could give "60".
    const int64_t perDegree = static_cast<int64_t>(std::llround(60 * scale));
    const int64_t total = static_cast<int64_t>(std::llround(std::fabs(degrees) * 60 * scale));
    const int64_t whole = total / perDegree;
    return whole * 100 * static_cast<int64_t>(std::llround(scale)) + total % perDegree;
}

int32_t Units::counts(double g, double countsPerG) {
    return static_cast<int32_t>(std::lround(g * countsPerG));
}

}  // namespace makerec
