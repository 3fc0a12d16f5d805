#include <gtest/gtest.h>

#include <bit>

#include "ByteWriter.h"
#include "CivilTime.h"
#include "GpmfDecoder.h"

using gpx::GpmfDecoder;

namespace {

// One key-length-value item, padded to four bytes.
std::vector<uint8_t> klv(const char* key, char type, uint8_t structSize, uint16_t repeat,
                         const std::vector<uint8_t>& payload) {
    ByteWriter w;
    w.text(std::string_view(key, 4)).u8(uint8_t(type)).u8(structSize).be16(repeat).bytes(payload);
    while (w.size() % 4 != 0) {
        w.u8(0);
    }
    return w.take();
}

std::vector<uint8_t> nest(const char* key, const std::vector<uint8_t>& children) {
    return klv(key, 0, 1, uint16_t(children.size()), children);
}

}  // namespace

TEST(GpmfDecoder, ReadsNineFieldGpsWithItsOwnTimeAndFix) {
    // lat, lon, alt, 2D speed, 3D speed, days since 2000, seconds of the day, DOP, fix
    ByteWriter values;
    auto entry = [&](int32_t lat, int32_t lon, uint32_t ms, uint16_t fix) {
        values.be32(uint32_t(lat))
            .be32(uint32_t(lon))
            .be32(1000)
            .be32(10000)
            .be32(10000)
            .be32(7305)
            .be32(ms)
            .be16(150)
            .be16(fix);
    };
    entry(-346037230, -583815920, 43200000, 3);  // 2020-01-01 12:00:00, 10 m/s
    entry(-346037240, -583815930, 43200500, 0);  // half a second later, no fix
    ByteWriter scale;
    for (uint32_t s : {10000000u, 10000000u, 1000u, 1000u, 1000u, 1u, 1000u, 100u, 1u}) {
        scale.be32(s);
    }
    auto stream = nest(
        "STRM", ByteWriter::concat({klv("TYPE", 'c', 1, 9, ByteWriter().text("lllllllSS").data()),
                                    klv("SCAL", 'L', 4, 9, scale.data()),
                                    klv("GPS9", '?', 32, 2, values.data())}));
    gpx::RawTrack track;
    GpmfDecoder::decodeSample(nest("DEVC", stream), 5.0, 1.0, track);
    ASSERT_EQ(track.fixes.size(), 2u);
    const gpx::Fix& f = track.fixes[0];
    EXPECT_TRUE(f.valid);
    EXPECT_NEAR(f.latitude, -34.603723, 1e-9);
    EXPECT_NEAR(f.longitude, -58.381592, 1e-9);
    EXPECT_NEAR(f.speedKmh, 36.0, 1e-9);
    EXPECT_DOUBLE_EQ(f.offset, 5.0);
    EXPECT_EQ(f.utcMillis, (gpx::CivilTime{2020, 1, 1, 12, 0, 0}.toUnix() * 1000));
    EXPECT_FALSE(track.fixes[1].valid);
    EXPECT_DOUBLE_EQ(track.fixes[1].offset, 5.5);
    EXPECT_EQ(track.fixes[1].utcMillis - f.utcMillis, 500);
}

TEST(GpmfDecoder, StopsAtDamagedItemsWithoutReadingPastThem) {
    // A repeat count far beyond the data, a nested item claiming more than its parent.
    auto bad = ByteWriter().text("GPS5").u8('l').u8(20).be16(0xFFFF).be32(1).take();
    auto deep = ByteWriter()
                    .text("DEVC")
                    .u8(0)
                    .u8(1)
                    .be16(4000)
                    .bytes(klv("GPSF", 'L', 4, 1, {0, 0, 0, 3}))
                    .take();
    for (const auto& sample : {bad, deep}) {
        gpx::RawTrack track;
        GpmfDecoder::decodeSample(sample, 0.0, 1.0, track);
        EXPECT_TRUE(track.fixes.empty());
    }
}

TEST(GpmfDecoder, GivesNoTimeForClockValuesBeyondAnyDate) {
    // Nine-field GPS whose day count, scaled, is 10^13 days; and the drone's fused position
    // with a device clock 10^300 seconds from 1970. Neither fits a time of day.
    ByteWriter nine;
    nine.be32(uint32_t(-346037230)).be32(uint32_t(-583815920)).be32(1000).be32(10000);
    nine.be32(10000).be32(10000).be32(43200000).be16(150).be16(3);
    ByteWriter scale;
    for (float s : {1e7f, 1e7f, 1e3f, 1e3f, 1e3f, 1e-9f, 1e3f, 1e2f, 1.0f}) {
        scale.be32(std::bit_cast<uint32_t>(s));
    }
    auto gps = nest(
        "STRM", ByteWriter::concat({klv("TYPE", 'c', 1, 9, ByteWriter().text("lllllllSS").data()),
                                    klv("SCAL", 'f', 4, 9, scale.data()),
                                    klv("GPS9", '?', 32, 1, nine.data())}));
    ByteWriter fused;
    for (int32_t v : {1000, -34, -58, 25, 0, 1, 1, 0, 90}) {
        fused.be32(uint32_t(v));
    }
    ByteWriter clock;
    clock.be64(std::bit_cast<uint64_t>(-1e300)).be64(std::bit_cast<uint64_t>(1e300));
    auto drone = nest("STRM", ByteWriter::concat({klv("GLPI", 'l', 36, 1, fused.data()),
                                                  klv("SYST", 'd', 16, 1, clock.data())}));
    gpx::RawTrack track;
    GpmfDecoder::decodeSample(nest("DEVC", ByteWriter::concat({gps, drone})), 0.0, 1.0, track);
    ASSERT_EQ(track.fixes.size(), 2u);
    for (const gpx::Fix& f : track.fixes) {
        EXPECT_FALSE(f.hasTime);
    }
}

TEST(GpmfDecoder, KeepsNoMoreReadingsThanATrackHolds) {
    // Seventeen full accelerometer items: over a million readings in one sample.
    auto item = klv("ACCL", 's', 6, 0xFFFF, std::vector<uint8_t>(6 * 0xFFFF, 1));
    std::vector<uint8_t> sample;
    for (int i = 0; i < 17; ++i) {
        sample.insert(sample.end(), item.begin(), item.end());
    }
    gpx::RawTrack track;
    GpmfDecoder::decodeSample(sample, 0.0, 1.0, track);
    EXPECT_EQ(track.g.size(), gpx::RawTrack::kMaxReadings);
}
