#include "NovatekLayout.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "Route.h"
#include "ToolError.h"
#include "Units.h"

namespace makerec {

namespace {

// Where each record keeps its fields, from the block's first byte.
struct Offsets {
    size_t time;    // hour, minute, second, year, month, day: u32 LE each
    size_t status;  // 'A'/'V', then N/S, E/W, 0
    size_t values;  // f32 LE latitude, longitude (DDMM.MMMM), knots, heading
    size_t end;     // first byte after the record
};

constexpr Offsets kClassic{0x30, 0x48, 0x4C, 0x5C};
constexpr Offsets kA119{0x10, 0x28, 0x2C, 0x48};  // plus 3 × i32 accelerometer at 0x3C

const Offsets& offsetsOf(NovatekLayout::Record record) {
    return record == NovatekLayout::Record::A119 ? kA119 : kClassic;
}

// The scaled firmware's version text and its linear scaling of each coordinate.
constexpr std::string_view kScaledVersion = "3.01.054";
constexpr double kScaledLatitudeOffset = 187.982162849635;
constexpr double kScaledLongitudeOffset = 2199.19873715495;

// The firmware name the IQS cameras write at 0x10, and the altitude they store where others
// keep the heading (the route has none: 25 m, as the text layouts' GGA says).
constexpr std::string_view kIqsFirmware = "IQS_A7_20150417";
constexpr size_t kIqsFirmwareAt = 0x10;
constexpr float kIqsAltitudeMillimetres = 25000.0f;

}  // namespace

uint32_t NovatekLayout::defaultBlockSize(Record record) {
    return record == Record::Decimal ? 0x4000 : 0x400;
}

NovatekLayout::NovatekLayout(Record record, uint32_t blockSize, bool index, bool localTime)
    : record_(record), blockSize_(blockSize), index_(index), localTime_(localTime) {
    if (blockSize_ < offsetsOf(record_).end) {
        throw ToolError("--block-size " + std::to_string(blockSize_) + " cannot hold the " +
                        std::to_string(offsetsOf(record_).end) + "-byte record");
    }
}

Bytes NovatekLayout::block(const Route& route, size_t second) const {
    const RouteSecond& s = route.seconds()[second];
    const Offsets& at = offsetsOf(record_);

    Bytes b;
    b.u32be(blockSize_);
    b.fourcc("free");
    b.fourcc("GPS ");
    b.u32le(0x4C);
    if (record_ == Record::Iqs) {
        b.zeros(kIqsFirmwareAt - b.size());
        b.text(kIqsFirmware);
    }
    b.zeros(blockSize_ - b.size());

    // The Kenwood firmware writes its wall clock with the full year; the others write UTC
    // with the year less 2000.
    const DateTime::Fields f = (localTime_ ? route.localAt(second) : route.utcAt(second)).fields();
    const int year = localTime_ ? f.year : f.year - 2000;
    const int time[6] = {f.hour, f.minute, f.second, year, f.month, f.day};
    for (size_t i = 0; i < 6; ++i) {
        b.setU32le(at.time + 4 * i, static_cast<uint32_t>(time[i]));
    }

    b.setU8(at.status, s.valid() ? 'A' : 'V');
    if (s.valid()) {
        b.setU8(at.status + 1, s.latitude < 0 ? 'S' : 'N');
        b.setU8(at.status + 2, s.longitude < 0 ? 'W' : 'E');
        writeValues(b, at.values, s);
    }
    if (record_ == Record::A119) {
        b.setI32le(0x3C, Units::counts(s.gx, 256));
        b.setI32le(0x40, Units::counts(s.gy, 256));
        b.setI32le(0x44, Units::counts(s.gz, 256));
    }
    return b;
}

void NovatekLayout::writeValues(Bytes& b, size_t at, const RouteSecond& s) const {
    auto f32 = [&](size_t offset, double v) { b.setF32le(at + offset, static_cast<float>(v)); };
    // Every record but the decimal one keeps the coordinates without sign.
    const double lat = std::fabs(s.latitude);
    const double lon = std::fabs(s.longitude);
    switch (record_) {
        case Record::Classic:
        case Record::A119:
            f32(0, Units::degreesMinutes(lat));
            f32(4, Units::degreesMinutes(lon));
            f32(8, Units::knots(s.speedKmh));
            f32(12, s.heading);
            break;
        case Record::Scaled:
            f32(0, lat * 3 + kScaledLatitudeOffset);
            f32(4, lon * 2 + kScaledLongitudeOffset);
            f32(8, Units::knots(s.speedKmh));
            f32(12, s.heading);
            break;
        case Record::Decimal:
            f32(0, s.latitude);
            f32(4, s.longitude);
            f32(8, s.speedKmh);
            f32(12, s.heading);
            break;
        case Record::Iqs:
            b.setI32le(at, static_cast<int32_t>(std::llround(lat * 1e7)));
            b.setI32le(at + 4, static_cast<int32_t>(std::llround(lon * 1e7)));
            b.setI32le(at + 8, static_cast<int32_t>(
                                   std::llround(Units::metresPerSecond(s.speedKmh) * 100)));
            f32(12, kIqsAltitudeMillimetres);
            break;
    }
}

Embedding NovatekLayout::embed(const Route& route) const {
    Embedding e;
    std::vector<PayloadSlice> index;
    for (size_t second = 0; second < route.length(); ++second) {
        if (!route.seconds()[second].recorded()) {
            // A second the camera skipped keeps its place in the index as offset 0, size 0.
            index.push_back(PayloadSlice{0, 0, false});
            continue;
        }
        index.push_back(PayloadSlice{e.payload.size(), blockSize_, true});
        e.payload.append(block(route, second));
    }
    if (index_) {
        e.blockIndex = std::move(index);
    }
    if (record_ == Record::Scaled) {
        Bytes version;
        version.text(kScaledVersion);
        e.topLevel.emplace_back("frea", std::vector<Atom>{Atom("ver ", std::move(version))});
    }
    return e;
}

}  // namespace makerec
