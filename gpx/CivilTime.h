#pragma once

#include <cstdint>

namespace gpx {

// A UTC date and time of the proleptic Gregorian calendar, to the second.
struct CivilTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;

    // Seconds since 1970-01-01 00:00:00 UTC; fields out of range carry over.
    int64_t toUnix() const;
    static CivilTime fromUnix(int64_t seconds);
    // True when the fields name a real date and time (no carrying needed).
    bool isValid() const;

    static constexpr int64_t kSeconds1904To1970 = 2082844800;
};

}  // namespace gpx
