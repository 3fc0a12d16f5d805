#pragma once

#include <cmath>

// Numbers become whole numbers by rounding to the nearest, halves to the even neighbour
// (44.5 → 44, 45.5 → 46), wherever the viewer turns a value into a count, a speed, a heading
// or a fixed-point position.
namespace Rounding {

inline double halfEven(double value) {
    const double rounded = std::round(value);
    // std::round takes halves away from zero; a half whose result is odd goes back one.
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0.0) {
        return rounded - std::copysign(1.0, value);
    }
    return rounded;
}

}  // namespace Rounding
