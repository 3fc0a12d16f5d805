#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "DateTime.h"
#include "RouteSecond.h"

namespace makerec {

// The drive a recording is made from: when it starts, the camera's zone, and one entry per
// second. The recording is exactly as long as the route.
class Route {
  public:
    static constexpr double kMaxG = 7.9;  // what every layout can store (GPMF i16 / 418)
    static constexpr size_t kMaxSeconds = 86400;

    Route(DateTime start, int zoneMinutes, std::string model, std::vector<RouteSecond> seconds);

    // Reads the text form described in README.md. source names the text in messages.
    // Throws RouteError naming the line at fault.
    static Route parse(std::string_view text, const std::string& source);
    static Route load(const std::string& path);
    // Whether every layout's clock can hold a route starting then (2000 to 2039).
    static bool startFits(const DateTime& start);
    // The text form; parse(format()) gives the same route back.
    std::string format() const;

    const DateTime& start() const { return start_; }
    int zoneMinutes() const { return zoneMinutes_; }
    // The model text for layouts that carry one; empty when the route names none.
    const std::string& model() const { return model_; }
    const std::vector<RouteSecond>& seconds() const { return seconds_; }
    size_t length() const { return seconds_.size(); }

    DateTime utcAt(size_t second) const;
    // The camera's wall clock at that second, as a DateTime whose fields read local time.
    DateTime localAt(size_t second) const;

    bool operator==(const Route&) const = default;

  private:
    DateTime start_;
    int zoneMinutes_;
    std::string model_;
    std::vector<RouteSecond> seconds_;
};

}  // namespace makerec
