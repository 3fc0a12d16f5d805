#include "NovatekBlock.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <string_view>

#include "BoxReader.h"
#include "Bytes.h"
#include "CivilTime.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"

namespace gpx {

namespace {

constexpr double kKnotsToKmh = 1.852;
constexpr std::string_view kMagic = "freeGPS ";

// The classic record, from the block's first byte.
constexpr size_t kClassicTime = 0x30;
constexpr size_t kClassicStatus = 0x48;
constexpr size_t kClassicValues = 0x4C;
// The record of the layout with accelerometer.
constexpr size_t kAccelTime = 0x10;
constexpr size_t kAccelStatus = 0x28;
constexpr size_t kAccelValues = 0x2C;
constexpr size_t kAccelG = 0x3C;

// Firmware whose 'frea' box carries this version scales its coordinates linearly; the
// constants were fitted to a recording of such a camera.
constexpr std::string_view kScaledVersion = "3.01.054";
constexpr double kScaledLatitudeOffset = 187.982162849635;
constexpr double kScaledLongitudeOffset = 2199.19873715495;
// Blocks of this size whose floats are already degrees come from firmware that writes decimal
// degrees and km/h; classic blocks of that size hold DDMM.MMMM, above 90 for most places.
constexpr uint32_t kDecimalBlockSize = 0x4000;

// The cameras store DDMM.MMMM as an unsigned float; the hemisphere letter gives the sign.
double degreesFromDdmm(double v) {
    double whole = std::trunc(v / 100.0);
    return whole + (v - 100.0 * whole) / 60.0;
}

bool isNs(uint8_t c) {
    return c == 'N' || c == 'S';
}
bool isEw(uint8_t c) {
    return c == 'E' || c == 'W';
}

// The status letter and the hemisphere letters behind it.
struct Status {
    uint8_t fix, ns, ew;

    static Status at(bytes::Span b, size_t at) {
        return {bytes::u8(b, at), bytes::u8(b, at + 1), bytes::u8(b, at + 2)};
    }
    bool valid() const { return fix == 'A' && isNs(ns) && isEw(ew); }
    double latitude(double magnitude) const { return ns == 'S' ? -magnitude : magnitude; }
    double longitude(double magnitude) const { return ew == 'W' ? -magnitude : magnitude; }
};

// The camera's wall clock as UTC, for firmware that writes local time: converted with the
// zone of the machine the viewer runs on, as the camera's owner usually lives in it.
int64_t localToUtc(const CivilTime& local) {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    return t == static_cast<std::time_t>(-1) ? local.toUnix() : static_cast<int64_t>(t);
}

// Reads the six u32 time fields at `at` (hour, minute, second, year, month, day).
void readTime(bytes::Span b, size_t at, Fix& fix, bool allowLocal) {
    CivilTime t;
    t.hour = static_cast<int>(bytes::le32(b, at));
    t.minute = static_cast<int>(bytes::le32(b, at + 4));
    t.second = static_cast<int>(bytes::le32(b, at + 8));
    uint32_t year = bytes::le32(b, at + 12);
    t.month = static_cast<int>(bytes::le32(b, at + 16));
    t.day = static_cast<int>(bytes::le32(b, at + 20));
    if (year > 9999 || bytes::le32(b, at) > 23 || bytes::le32(b, at + 16) > 12 ||
        bytes::le32(b, at + 20) > 31) {
        return;
    }
    bool local = year >= 2000;
    t.year = static_cast<int>(local ? year : year + 2000);
    if (!t.isValid()) {
        return;
    }
    fix.hasTime = true;
    fix.utcMillis = 1000 * ((local && allowLocal) ? localToUtc(t) : t.toUnix());
}

// f32 knots and heading, behind the coordinates of most records.
void readSpeedAndHeading(bytes::Span b, size_t at, Fix& fix) {
    fix.speedKmh = static_cast<double>(bytes::le32f(b, at)) * kKnotsToKmh;
    fix.heading = bytes::le32f(b, at + 4);
}

// f32 DDMM.MMMM latitude and longitude, knots and heading, as most firmware writes them.
void readDegreesMinutes(bytes::Span b, size_t at, Status s, Fix& fix) {
    fix.latitude = s.latitude(degreesFromDdmm(std::abs(bytes::le32f(b, at))));
    fix.longitude = s.longitude(degreesFromDdmm(std::abs(bytes::le32f(b, at + 4))));
    readSpeedAndHeading(b, at + 8, fix);
}

// The classic record with each coordinate scaled and shifted; the letters still give the
// sign, so a value below the shift is no coordinate at all.
void readScaled(bytes::Span b, Status s, Fix& fix) {
    auto magnitude = [&](size_t at, double offset, double scale) {
        double v = (bytes::le32f(b, at) - offset) / scale;
        return v >= 0.0 ? v : std::nan("");
    };
    fix.latitude = s.latitude(magnitude(kClassicValues, kScaledLatitudeOffset, 3.0));
    fix.longitude = s.longitude(magnitude(kClassicValues + 4, kScaledLongitudeOffset, 2.0));
    readSpeedAndHeading(b, kClassicValues + 8, fix);
}

bool holdsDecimalDegrees(bytes::Span b) {
    return bytes::be32(b, 0) == kDecimalBlockSize &&
           std::abs(bytes::le32f(b, kClassicValues)) <= 90.0f &&
           std::abs(bytes::le32f(b, kClassicValues + 4)) <= 180.0f;
}

// Signed decimal degrees and km/h where the classic record has DDMM.MMMM and knots.
void readDecimal(bytes::Span b, Status s, Fix& fix) {
    auto degrees = [&](size_t at, bool negative) {
        float v = bytes::le32f(b, at);
        return negative || v < 0.0f ? -std::abs(v) : std::abs(v);
    };
    fix.latitude = degrees(kClassicValues, s.ns == 'S');
    fix.longitude = degrees(kClassicValues + 4, s.ew == 'W');
    fix.speedKmh = bytes::le32f(b, kClassicValues + 8);
    fix.heading = bytes::le32f(b, kClassicValues + 12);
}

// Whole degrees × 10⁷ without sign, m/s × 100, and an altitude where the heading would be.
void readIqs(bytes::Span b, Status s, Fix& fix) {
    auto degrees = [&](size_t at) { return std::abs(double(bytes::le32s(b, at))) / 1e7; };
    fix.latitude = s.latitude(degrees(kClassicValues));
    fix.longitude = s.longitude(degrees(kClassicValues + 4));
    fix.speedKmh = bytes::le32s(b, kClassicValues + 8) / 100.0 * 3.6;
    fix.heading = 0.0;
}

// A number out of its range means the record was not understood: the second has no fix.
bool inRange(const Fix& f) {
    auto within = [](double v, double low, double high) {
        return std::isfinite(v) && v >= low && v <= high;
    };
    return within(f.latitude, -90.0, 90.0) && within(f.longitude, -180.0, 180.0) &&
           within(f.speedKmh, 0.0, 500.0) && within(f.heading, 0.0, 360.0);
}

std::optional<GReading> readAccelerometer(bytes::Span b, size_t at) {
    if (!bytes::has(b, at, 12)) {
        return std::nullopt;
    }
    static constexpr uint8_t kCounting[12] = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
    static constexpr uint8_t kZero[12] = {};
    // Firmware without a sensor leaves zeros, or 16-bit numbers counting from 1 to 6.
    if (std::memcmp(b.data() + at, kZero, 12) == 0 ||
        std::memcmp(b.data() + at, kCounting, 12) == 0) {
        return std::nullopt;
    }
    return GReading{0.0, bytes::le32s(b, at) / 256.0, bytes::le32s(b, at + 4) / 256.0,
                    bytes::le32s(b, at + 8) / 256.0};
}

}  // namespace

std::optional<NovatekBlock> NovatekBlock::decode(std::span<const uint8_t> b, Firmware firmware) {
    if (!bytes::matches(b, 4, kMagic)) {
        return std::nullopt;
    }
    NovatekBlock block;
    const Status classic = Status::at(b, kClassicStatus);
    const Status accel = Status::at(b, kAccelStatus);
    const bool classicRecord = classic.valid() || classic.fix == 'V';
    const bool zeroPad =
        bytes::u8(b, 0x25) == 0 && bytes::u8(b, 0x26) == 0 && bytes::u8(b, 0x27) == 0;
    const bool iqs = bytes::matches(b, 0x10, "IQS");

    if (!iqs && zeroPad && accel.valid()) {
        // The layout with accelerometer: a status right after the day field.
        block.fix.valid = true;
        readTime(b, kAccelTime, block.fix, true);
        readDegreesMinutes(b, kAccelValues, accel, block.fix);
        block.g = readAccelerometer(b, kAccelG);
    } else if (classicRecord) {
        block.fix.valid = classic.valid();
        readTime(b, kClassicTime, block.fix, false);
        if (!block.fix.valid) {
            return block;
        }
        if (iqs) {
            readIqs(b, classic, block.fix);
        } else if (firmware == Firmware::ScaledCoordinates) {
            readScaled(b, classic, block.fix);
        } else if (holdsDecimalDegrees(b)) {
            readDecimal(b, classic, block.fix);
        } else {
            readDegreesMinutes(b, kClassicValues, classic, block.fix);
        }
    } else if (zeroPad && accel.fix == 'V') {
        // A void second in the layout with accelerometer: the sensor still reports.
        readTime(b, kAccelTime, block.fix, true);
        block.g = readAccelerometer(b, kAccelG);
    } else {
        return std::nullopt;
    }
    if (block.fix.valid && !inRange(block.fix)) {
        block.fix.valid = false;
    }
    return block;
}

NovatekBlock::Firmware NovatekBlock::firmwareOf(const MediaFile& file, const MovieInfo& movie) {
    for (const Box& top : movie.topLevel) {
        if (top.type != fourcc("frea")) {
            continue;
        }
        BoxReader children(file, top.payload, top.end);
        while (auto box = children.next()) {
            if (box->type != fourcc("ver ")) {
                continue;
            }
            auto text = file.bytes(box->payload, std::min<uint64_t>(box->payloadSize(), 16));
            std::string_view version = bytes::text(text, 0, text.size());
            // The text may be padded with NULs or blanks.
            version = version.substr(0, version.find_last_not_of(std::string_view("\0 ", 2)) + 1);
            if (version == kScaledVersion) {
                return Firmware::ScaledCoordinates;
            }
        }
    }
    return Firmware::Usual;
}

}  // namespace gpx
