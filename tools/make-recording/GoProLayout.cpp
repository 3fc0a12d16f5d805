#include "GoProLayout.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "Gpmf.h"
#include "Prng.h"
#include "Route.h"
#include "SensorBurst.h"
#include "Units.h"

namespace makerec {

namespace {

constexpr std::string_view kDeviceName = "Camera";

std::string gpsTime(const DateTime& utc) {
    const DateTime::Fields f = utc.fields();
    char text[24];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d.000", f.year % 100, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

// Lat, lon, alt, 2D speed, 3D speed in the units the SCAL divisors below give back.
std::vector<int32_t> fixes(const Route& route, size_t second) {
    const RouteSecond& now = route.seconds()[second];
    std::vector<int32_t> values;
    if (!now.valid()) {
        values.assign(GoProLayout::kFixesPerSecond * 5, 0);
        return values;
    }
    // The receiver reports ten times a second; the route only knows whole seconds, so the
    // fixes in between move towards the next second's fix when there is one.
    const bool nextValid = second + 1 < route.length() && route.seconds()[second + 1].valid();
    const RouteSecond& next = nextValid ? route.seconds()[second + 1] : now;
    for (size_t i = 0; i < GoProLayout::kFixesPerSecond; ++i) {
        const double f = static_cast<double>(i) / GoProLayout::kFixesPerSecond;
        const double latitude = now.latitude + (next.latitude - now.latitude) * f;
        const double longitude = now.longitude + (next.longitude - now.longitude) * f;
        const double speed =
            Units::metresPerSecond(now.speedKmh + (next.speedKmh - now.speedKmh) * f);
        values.push_back(static_cast<int32_t>(std::lround(latitude * 1e7)));
        values.push_back(static_cast<int32_t>(std::lround(longitude * 1e7)));
        values.push_back(static_cast<int32_t>(std::lround(GoProLayout::kAltitudeMetres * 1000)));
        values.push_back(static_cast<int32_t>(std::lround(speed * 1000)));
        values.push_back(static_cast<int32_t>(std::lround(speed * 100)));
    }
    return values;
}

std::vector<int16_t> accelerations(const RouteSecond& s, size_t second) {
    const double countsPerG = GoProLayout::kAccelerometerScale * Units::kStandardGravity;
    Prng random(0x41434C ^ (uint64_t{second} << 20));
    const SensorBurst burst({Units::counts(s.gx, countsPerG), Units::counts(s.gy, countsPerG),
                             Units::counts(s.gz, countsPerG)},
                            GoProLayout::kReadingsPerSecond, random);
    std::vector<int16_t> values;
    for (const SensorBurst::Reading& r : burst.readings()) {
        for (int32_t v : r) {
            values.push_back(static_cast<int16_t>(v));
        }
    }
    return values;
}

}  // namespace

Bytes GoProLayout::sample(const Route& route, size_t second) {
    const RouteSecond& s = route.seconds()[second];
    Gpmf device;
    if (!s.recorded()) {
        device.text("DVNM", kDeviceName);
        Gpmf sample;
        sample.nest("DEVC", device);
        return sample.bytes();
    }
    Gpmf gps;
    gps.text("STNM", "GPS (Lat., Long., Alt., 2D speed, 3D speed)");
    gps.u32("GPSF", s.valid() ? 3 : 0);
    gps.utcTime("GPSU", gpsTime(route.utcAt(second)));
    gps.u16("GPSP", 500);
    gps.i32s("SCAL", {10000000, 10000000, 1000, 1000, 100}, 1);
    gps.i32s("GPS5", fixes(route, second), 5);

    Gpmf accelerometer;
    accelerometer.text("STNM", "Accelerometer");
    accelerometer.text("SIUN", "m/s\xb2");
    accelerometer.i16("SCAL", kAccelerometerScale);
    accelerometer.i16s("ACCL", accelerations(s, second), 3);

    device.u32("DVID", 1);
    device.text("DVNM", kDeviceName);
    device.nest("STRM", gps);
    device.nest("STRM", accelerometer);
    Gpmf sample;
    sample.nest("DEVC", device);
    return sample.bytes();
}

Embedding GoProLayout::embed(const Route& route) const {
    Embedding e;
    MetadataTrack track = MetadataTrack::timedMetadata("gpmd", "GPS metadata");
    for (size_t second = 0; second < route.length(); ++second) {
        const Bytes bytes = sample(route, second);
        track.addSample(PayloadSlice{e.payload.size(), static_cast<uint32_t>(bytes.size())});
        e.payload.append(bytes);
    }
    e.tracks.push_back(std::move(track));
    return e;
}

}  // namespace makerec
