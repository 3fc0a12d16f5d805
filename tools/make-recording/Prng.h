#pragma once

#include <cstdint>

namespace makerec {

// A small deterministic generator. The standard distributions may differ between library
// versions, and a test recording must come out byte for byte the same everywhere.
class Prng {
  public:
    explicit Prng(uint64_t seed) : state_(seed) {}

    uint64_t next();
    // Uniform in [0, 1).
    double unit();
    // Uniform in [low, high).
    double between(double low, double high) { return low + (high - low) * unit(); }
    // Uniform integer in [0, count).
    uint32_t below(uint32_t count) { return static_cast<uint32_t>(next() % count); }

  private:
    uint64_t state_;
};

}  // namespace makerec
