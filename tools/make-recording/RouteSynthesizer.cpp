#include "RouteSynthesizer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

#include "Prng.h"
#include "Units.h"

namespace makerec {

namespace {

constexpr size_t kVoidSeconds = 3;
constexpr double kMetresPerDegree = 111320.0;

// Rounds to the precision the route text keeps, through the text itself, so a synthesized
// route written with --write-route reads back as exactly the same numbers.
double quantize(double value, int decimals) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
    double parsed = 0;
    std::from_chars(text, text + length, parsed);
    return parsed == 0 ? 0.0 : parsed;  // no "-0.00" in the route text
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

}  // namespace

DateTime RouteSynthesizer::defaultStart() {
    return *DateTime::parseIso("2020-01-01T11:59:58Z");
}

Route RouteSynthesizer::make(size_t seconds, DateTime start) const {
    Prng random(0x4841525645ULL);
    std::vector<RouteSecond> route;
    route.reserve(seconds);

    double latitude = -34.603723;
    double longitude = -58.381592;
    double heading = 90.0;
    double speed = 0.0;
    double targetSpeed = 0.0;
    size_t legEnds = 5;  // parked while the receiver finds its first fix
    const double phase = random.between(0, 2 * std::numbers::pi);

    for (size_t t = 0; t < seconds; ++t) {
        if (t >= legEnds) {
            // The next stretch of road: mostly cruising, now and then a stop at a light.
            const bool stop = random.unit() < 0.2;
            targetSpeed = stop ? 0.0 : random.between(30, 90);
            legEnds = t + (stop ? 6 + random.below(6) : 20 + random.below(40));
        }
        const double previousSpeed = speed;
        const double step = targetSpeed > speed ? 7.0 : -9.0;  // km/h per second
        speed =
            std::clamp(speed + step, std::min(speed, targetSpeed), std::max(speed, targetSpeed));
        speed = std::clamp(speed, 0.0, 90.0);

        // Gentle curves that tighten at low speed, like a town road.
        double turnRate = 0.0;  // degrees per second
        if (speed > 0) {
            turnRate = 4.0 * std::sin(2 * std::numbers::pi * static_cast<double>(t) / 47 + phase) +
                       2.5 * std::sin(2 * std::numbers::pi * static_cast<double>(t) / 113);
            turnRate *= std::clamp(40.0 / speed, 0.4, 1.5);
        }
        heading = std::fmod(heading + turnRate + 360.0, 360.0);
        const double metres = Units::metresPerSecond((speed + previousSpeed) / 2);
        latitude += metres * std::cos(radians(heading)) / kMetresPerDegree;
        longitude +=
            metres * std::sin(radians(heading)) / (kMetresPerDegree * std::cos(radians(latitude)));

        RouteSecond s;
        s.fix = t < kVoidSeconds ? RouteSecond::Fix::Void : RouteSecond::Fix::Valid;
        if (seconds >= 60 && t == seconds / 2) {
            s.fix = RouteSecond::Fix::Silent;
        }
        if (s.fix == RouteSecond::Fix::Silent) {
            route.push_back(s);
            continue;
        }
        // Lateral from the curve, longitudinal from braking and accelerating, gravity on z.
        const double lateral = Units::metresPerSecond(speed) * radians(turnRate);
        const double longitudinal = Units::metresPerSecond(speed - previousSpeed);
        s.gx = quantize(lateral / Units::kStandardGravity + random.between(-0.02, 0.02), 2);
        s.gy = quantize(longitudinal / Units::kStandardGravity + random.between(-0.02, 0.02), 2);
        s.gz = quantize(1.0 + random.between(-0.02, 0.02), 2);
        if (t % 97 == 41) {
            s.gz = 1.8;  // a pothole
        }
        if (s.valid()) {
            s.latitude = quantize(latitude, 6);
            s.longitude = quantize(longitude, 6);
            s.speedKmh = quantize(speed, 1);
            s.heading = quantize(heading, 1);
            if (s.heading >= 360) {
                s.heading = 0;
            }
        }
        route.push_back(s);
    }
    return Route(start, kZoneMinutes, "", std::move(route));
}

}  // namespace makerec
