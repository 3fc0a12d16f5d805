#include "NovatekLayout.h"

#include <utility>

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
    return record == NovatekLayout::Record::Classic ? kClassic : kA119;
}

}  // namespace

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
        b.setF32le(at.values, static_cast<float>(Units::degreesMinutes(s.latitude)));
        b.setF32le(at.values + 4, static_cast<float>(Units::degreesMinutes(s.longitude)));
        b.setF32le(at.values + 8, static_cast<float>(Units::knots(s.speedKmh)));
        b.setF32le(at.values + 12, static_cast<float>(s.heading));
    }
    if (record_ == Record::A119) {
        b.setI32le(0x3C, Units::counts(s.gx, 256));
        b.setI32le(0x40, Units::counts(s.gy, 256));
        b.setI32le(0x44, Units::counts(s.gz, 256));
    }
    return b;
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
    return e;
}

}  // namespace makerec
