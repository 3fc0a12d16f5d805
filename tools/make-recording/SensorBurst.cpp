#include "SensorBurst.h"

#include <cmath>

#include "Prng.h"

namespace makerec {

namespace {

int64_t squaredMagnitude(const SensorBurst::Reading& r) {
    int64_t sum = 0;
    for (int32_t v : r) {
        sum += int64_t{v} * v;
    }
    return sum;
}

SensorBurst::Reading quieter(const SensorBurst::Reading& peak, Prng& random) {
    if (squaredMagnitude(peak) == 0) {
        return {};  // nothing is quieter than weightlessness
    }
    const double factor = random.between(0.80, 0.97);
    SensorBurst::Reading r{};
    for (size_t axis = 0; axis < 3; ++axis) {
        r[axis] = static_cast<int32_t>(std::lround(peak[axis] * factor + random.between(-2, 2)));
    }
    // Small values can round back up to the peak; pull them towards zero until quieter.
    while (squaredMagnitude(r) >= squaredMagnitude(peak)) {
        for (int32_t& v : r) {
            v += v > 0 ? -1 : (v < 0 ? 1 : 0);
        }
    }
    return r;
}

}  // namespace

SensorBurst::SensorBurst(const Reading& peak, size_t count, Prng& random)
    : peakIndex_(random.below(static_cast<uint32_t>(count))) {
    readings_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        readings_.push_back(i == peakIndex_ ? peak : quieter(peak, random));
    }
}

}  // namespace makerec
