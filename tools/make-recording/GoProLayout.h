#pragma once

#include "Layout.h"

namespace makerec {

class Gpmf;

// GoPro: a timed metadata track ('meta' handler, 'gpmd' entry), one GPMF sample per second
// with a GPS stream (GPS5 ten times a second) and an accelerometer stream (ACCL fifty times a
// second, in m/s², axes in the route's x, y, z order).
class GoProLayout : public Layout {
  public:
    static constexpr size_t kFixesPerSecond = 10;
    static constexpr size_t kReadingsPerSecond = 50;
    static constexpr int16_t kAccelerometerScale = 418;  // counts per m/s²
    static constexpr double kAltitudeMetres = 25.0;      // not part of the route

    Embedding embed(const Route& route) const override;

    // One second's sample.
    static Bytes sample(const Route& route, size_t second);
};

}  // namespace makerec
