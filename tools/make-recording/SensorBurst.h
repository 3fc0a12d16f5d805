#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace makerec {

class Prng;

// The G-sensor readings a fast-sampling camera writes within one second. One reading is the
// route's value; every other one is strictly smaller in magnitude, so a reader that keeps
// the largest reading per second gets the route's value back exactly.
class SensorBurst {
  public:
    using Reading = std::array<int32_t, 3>;

    SensorBurst(const Reading& peak, size_t count, Prng& random);

    const std::vector<Reading>& readings() const { return readings_; }
    size_t peakIndex() const { return peakIndex_; }

  private:
    std::vector<Reading> readings_;
    size_t peakIndex_;
};

}  // namespace makerec
