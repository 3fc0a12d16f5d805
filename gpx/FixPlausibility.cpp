#include "FixPlausibility.h"

#include <cmath>
#include <ctime>

namespace gpx {

FixPlausibility FixPlausibility::fromSystemClock() {
    return FixPlausibility(static_cast<int64_t>(std::time(nullptr)) + kFutureSlack);
}

bool FixPlausibility::valuesOk(const Fix& f) const {
    // Written so that NaN fails every comparison and so every check.
    bool position = std::abs(f.latitude) <= 90.0 && std::abs(f.longitude) <= 180.0 &&
                    !(f.latitude == 0.0 && f.longitude == 0.0);
    bool speed = f.speedKmh >= 0.0 && f.speedKmh <= kMaxSpeedKmh;
    bool heading = f.heading >= 0.0 && f.heading <= 360.0;
    return position && speed && heading;
}

bool FixPlausibility::timeOk(int64_t utcSecond) const {
    return utcSecond >= kEarliestUtc && utcSecond <= latestUtc_;
}

}  // namespace gpx
