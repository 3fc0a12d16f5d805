#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "ByteWriter.h"
#include "CivilTime.h"
#include "Extractor.h"
#include "MediaFile.h"
#include "MovieReader.h"
#include "NovatekDecoder.h"
#include "NovatekScanner.h"
#include "SecondTimeline.h"
#include "TestMovie.h"

using gpx::CivilTime;
using gpx::NovatekDecoder;
using Firmware = gpx::NovatekBlock::Firmware;

namespace {

struct Second {
    char status = 'A';
    double lat = -34.603723;  // decimal degrees
    double lon = -58.381592;
    double kmh = 36.0;
    double heading = 90.0;
    int32_t gx = 0, gy = 0, gz = 256;  // 1/256 g
    CivilTime time{2020, 1, 1, 11, 59, 58};
};

float ddmm(double deg) {
    double a = std::abs(deg);
    double whole = std::floor(a);
    return float(whole * 100 + (a - whole) * 60);
}

uint32_t f32(double v) {
    return std::bit_cast<uint32_t>(float(v));
}

// The classic record's time and status, with the four value words a firmware writes at 0x4C
// and its name at 0x10.
std::vector<uint8_t> recordBlock(const Second& s, std::array<uint32_t, 4> values,
                                 size_t size = 0x400, std::string_view firmware = "") {
    ByteWriter w;
    w.be32(uint32_t(size)).text("freeGPS ").le32(0x4C).text(firmware).padTo(0x30);
    w.le32(uint32_t(s.time.hour))
        .le32(uint32_t(s.time.minute))
        .le32(uint32_t(s.time.second))
        .le32(uint32_t(s.time.year - 2000))
        .le32(uint32_t(s.time.month))
        .le32(uint32_t(s.time.day));
    w.u8(uint8_t(s.status)).u8(s.lat < 0 ? 'S' : 'N').u8(s.lon < 0 ? 'W' : 'E').u8(0);
    for (uint32_t v : values) {
        w.le32(v);
    }
    return w.padTo(size).take();
}

std::vector<uint8_t> classicBlock(const Second& s, size_t size = 0x400) {
    return recordBlock(s, {f32(ddmm(s.lat)), f32(ddmm(s.lon)), f32(s.kmh / 1.852), f32(s.heading)},
                       size);
}

// The look-alikes of the classic record, as their firmware writes a second.
std::vector<uint8_t> scaledBlock(const Second& s) {
    return recordBlock(
        s, {f32(std::abs(s.lat) * 3 + 187.982162849635),
            f32(std::abs(s.lon) * 2 + 2199.19873715495), f32(s.kmh / 1.852), f32(s.heading)});
}
std::vector<uint8_t> decimalBlock(const Second& s) {
    return recordBlock(s, {f32(s.lat), f32(s.lon), f32(s.kmh), f32(s.heading)}, 0x4000);
}
std::vector<uint8_t> iqsBlock(const Second& s) {
    auto e7 = [](double deg) { return uint32_t(std::llround(std::abs(deg) * 1e7)); };
    return recordBlock(
        s, {e7(s.lat), e7(s.lon), uint32_t(std::llround(s.kmh / 3.6 * 100)), f32(25000.0)}, 0x400,
        "IQS_A7_20150417");
}

std::vector<uint8_t> accelBlock(const Second& s, bool localYear = false, size_t size = 0x400) {
    ByteWriter w;
    w.be32(uint32_t(size)).text("freeGPS ").le32(0x4C);
    w.le32(uint32_t(s.time.hour))
        .le32(uint32_t(s.time.minute))
        .le32(uint32_t(s.time.second))
        .le32(uint32_t(localYear ? s.time.year : s.time.year - 2000))
        .le32(uint32_t(s.time.month))
        .le32(uint32_t(s.time.day));
    w.u8(uint8_t(s.status)).u8(s.lat < 0 ? 'S' : 'N').u8(s.lon < 0 ? 'W' : 'E').u8(0);
    w.le32f(ddmm(s.lat)).le32f(ddmm(s.lon)).le32f(float(s.kmh / 1.852)).le32f(float(s.heading));
    w.le32(uint32_t(s.gx)).le32(uint32_t(s.gy)).le32(uint32_t(s.gz));
    return w.padTo(size).take();
}

// A movie whose media data holds the blocks, optionally with the index of them.
struct NovatekMovie {
    std::vector<std::vector<uint8_t>> blocks;  // an empty block is a second without one
    bool index = true;
    bool movie = true;
    double duration = -1;
    size_t repeatFirst = 0;  // index entries after the blocks', all naming the first block

    std::vector<uint8_t> build() const {
        ByteWriter media;
        std::vector<std::pair<uint32_t, uint32_t>> entries;
        for (const auto& b : blocks) {
            entries.emplace_back(uint32_t(media.size()), uint32_t(b.size()));
            media.bytes(b);
        }
        entries.insert(entries.end(), repeatFirst, entries.front());
        auto make = [&](uint64_t base) {
            TestMovie m;
            m.setExtraMedia(media.data())
                .durationSeconds(duration >= 0 ? duration : double(blocks.size()))
                .withoutMovie(!movie);
            if (index) {
                m.addMovieChild(indexBox(entries, base));
            }
            return m;
        };
        // The index's size does not depend on the offsets in it: build once to learn where
        // the media lands, then with the index pointing there.
        TestMovie probe = make(0);
        probe.build();
        return make(probe.extraMediaOffset()).build();
    }

    static std::vector<uint8_t> indexBox(const std::vector<std::pair<uint32_t, uint32_t>>& entries,
                                         uint64_t base) {
        ByteWriter w;
        w.be32(0x101).be32(uint32_t(entries.size()));
        for (auto [offset, size] : entries) {
            if (size == 0) {
                w.be32(0).be32(0);
            } else {
                w.be32(uint32_t(base + offset)).be32(size);
            }
        }
        return ByteWriter::box("gps ", w.data());
    }
};

gpx::Extractor::Result extract(const std::vector<uint8_t>& bytes) {
    gpx::MediaFile file;
    file.openMemory(bytes);
    return gpx::Extractor::extract(file);
}

}  // namespace

TEST(NovatekDecoder, DecodesTheClassicLayout) {
    Second s;
    auto block = NovatekDecoder::decodeBlock(classicBlock(s));
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->fix.valid);
    EXPECT_NEAR(block->fix.latitude, -34.603723, 1e-5);  // float DDMM.MMMM
    EXPECT_NEAR(block->fix.longitude, -58.381592, 1e-5);
    EXPECT_NEAR(block->fix.speedKmh, 36.0, 1e-4);
    EXPECT_FLOAT_EQ(float(block->fix.heading), 90.0f);
    EXPECT_EQ(block->fix.utcMillis / 1000, CivilTime({2020, 1, 1, 11, 59, 58}).toUnix());
    EXPECT_FALSE(block->g);

    s.status = 'V';
    auto voidBlock = NovatekDecoder::decodeBlock(classicBlock(s));
    ASSERT_TRUE(voidBlock);
    EXPECT_FALSE(voidBlock->fix.valid);
    EXPECT_TRUE(voidBlock->fix.hasTime);
}

TEST(NovatekDecoder, DecodesTheLayoutWithAccelerometer) {
    Second s;
    s.lat = 51.5;
    s.lon = 0.25;
    s.gx = 5;
    s.gy = -13;
    s.gz = 256;
    auto block = NovatekDecoder::decodeBlock(accelBlock(s));
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->fix.valid);
    EXPECT_NEAR(block->fix.latitude, 51.5, 1e-5);
    EXPECT_NEAR(block->fix.longitude, 0.25, 1e-5);
    ASSERT_TRUE(block->g);
    EXPECT_DOUBLE_EQ(block->g->x, 5 / 256.0);
    EXPECT_DOUBLE_EQ(block->g->y, -13 / 256.0);
    EXPECT_DOUBLE_EQ(block->g->z, 1.0);

    // Without a fix the sensor still reports.
    s.status = 'V';
    auto voidBlock = NovatekDecoder::decodeBlock(accelBlock(s));
    ASSERT_TRUE(voidBlock);
    EXPECT_FALSE(voidBlock->fix.valid);
    ASSERT_TRUE(voidBlock->g);

    // Firmware without a sensor: zeros, or 16-bit numbers counting 1 to 6.
    s.status = 'A';
    s.gx = s.gy = s.gz = 0;
    EXPECT_FALSE(NovatekDecoder::decodeBlock(accelBlock(s))->g);
    s.gx = 1 | 2 << 16;
    s.gy = 3 | 4 << 16;
    s.gz = 5 | 6 << 16;
    EXPECT_FALSE(NovatekDecoder::decodeBlock(accelBlock(s))->g);
}

// Read as classic, each of these gives a believable fix somewhere else.
TEST(NovatekDecoder, ReadsTheLookAlikesOfTheClassicRecordByTheirOwnNumbers) {
    Second s;
    s.lat = 33.67;
    s.lon = -112.10;
    s.kmh = 48.0;
    s.heading = 150.0;
    struct Case {
        const char* name;
        std::vector<uint8_t> block;
        Firmware firmware;
        double degrees, kmh, heading;  // how precisely stored; the heading read
    };
    const Case cases[] = {
        {"scaled", scaledBlock(s), Firmware::ScaledCoordinates, 1e-4, 1e-4, 150.0},
        {"decimal", decimalBlock(s), Firmware::Usual, 1e-5, 1e-4, 150.0},
        {"iqs", iqsBlock(s), Firmware::Usual, 1e-7, 0.02, 0.0},  // no heading stored
        {"classic in a block of the decimal size", classicBlock(s, 0x4000), Firmware::Usual, 1e-5,
         1e-4, 150.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto block = NovatekDecoder::decodeBlock(c.block, c.firmware);
        ASSERT_TRUE(block);
        EXPECT_TRUE(block->fix.valid);
        EXPECT_NEAR(block->fix.latitude, 33.67, c.degrees);
        EXPECT_NEAR(block->fix.longitude, -112.10, c.degrees);
        EXPECT_NEAR(block->fix.speedKmh, 48.0, c.kmh);
        EXPECT_NEAR(block->fix.heading, c.heading, 1e-4);
        EXPECT_EQ(block->fix.utcMillis / 1000, s.time.toUnix());
    }
}

TEST(NovatekDecoder, ARecordOutOfRangeIsASecondWithoutFix) {
    auto with = [](auto change) {
        Second s;
        change(s);
        return s;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> block;
        Firmware firmware = Firmware::Usual;
    };
    const Case cases[] = {
        {"heading", classicBlock(with([](Second& s) { s.heading = 400; }))},
        {"speed", classicBlock(with([](Second& s) { s.kmh = 600; }))},
        {"negative speed", classicBlock(with([](Second& s) { s.kmh = -5; }))},
        {"decimal speed", decimalBlock(with([](Second& s) { s.kmh = 501; }))},
        {"iqs longitude", iqsBlock(with([](Second& s) { s.lon = 190; }))},
        {"scaled latitude", scaledBlock(with([](Second& s) { s.lat = 95; })),
         Firmware::ScaledCoordinates},
        {"scaled below its shift", recordBlock(Second{}, {f32(100.0), f32(3000.0), 0, 0}),
         Firmware::ScaledCoordinates},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto block = NovatekDecoder::decodeBlock(c.block, c.firmware);
        ASSERT_TRUE(block);
        EXPECT_FALSE(block->fix.valid);
        EXPECT_TRUE(block->fix.hasTime);
    }
}

TEST(NovatekDecoder, ConvertsTheLocalClockOfFirmwareThatWritesTheFullYear) {
    const char* old = std::getenv("TZ");
    std::string saved = old != nullptr ? old : "";
    setenv("TZ", "<+03>-3", 1);
    tzset();
    Second s;
    s.time = {2020, 1, 1, 2, 30, 0};  // local, three hours ahead of UTC
    auto block = NovatekDecoder::decodeBlock(accelBlock(s, true));
    if (old != nullptr) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
    ASSERT_TRUE(block);
    EXPECT_EQ(block->fix.utcMillis / 1000, CivilTime({2019, 12, 31, 23, 30, 0}).toUnix());
}

TEST(NovatekDecoder, RejectsBlocksItDoesNotKnow) {
    EXPECT_FALSE(NovatekDecoder::decodeBlock({}));
    auto garbage = ByteWriter().be32(0x400).text("freeGPS ").zeros(0x400).take();
    EXPECT_FALSE(NovatekDecoder::decodeBlock(garbage));
    Second s;
    auto noMagic = classicBlock(s);
    noMagic[8] = 'X';
    EXPECT_FALSE(NovatekDecoder::decodeBlock(noMagic));
    // Cut short in the middle of the record: what is missing reads as zero, no overrun.
    auto cut = classicBlock(s);
    cut.resize(0x50);
    auto block = NovatekDecoder::decodeBlock(cut);
    ASSERT_TRUE(block);
    EXPECT_FALSE(std::isnan(block->fix.longitude));
}

TEST(NovatekDecoder, FollowsTheIndexAndLeavesSkippedSecondsWithoutFix) {
    NovatekMovie m;
    for (int i = 0; i < 6; ++i) {
        Second s;
        s.time.second = 58 + i;  // runs over into the next minute
        s.lat = -34.60 - i * 0.001;
        if (i == 2) {
            m.blocks.push_back({});  // the camera wrote nothing this second
            continue;
        }
        if (i == 4) {
            s.status = 'V';
        }
        m.blocks.push_back(classicBlock(s));
    }
    auto r = extract(m.build());
    ASSERT_EQ(r.outcome, gpx::Extractor::Outcome::Extracted);
    ASSERT_EQ(r.samples.size(), 6u);
    const int expected[] = {1, 1, 0, 1, 0, 1};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(r.samples[i].nStatus, expected[i]) << i;
    }
    EXPECT_NEAR(r.samples[5].dLatitude, -34.605, 1e-5);
    EXPECT_EQ(r.samples[2].nMinute, 0);
    EXPECT_EQ(r.samples[2].nSecond, 0);
    EXPECT_EQ(r.samples[5].nSecond, 3);
}

TEST(NovatekDecoder, ScansForBlocksWhenTheIndexOrTheMovieIsMissing) {
    // Second 2 was skipped: the blocks after it are one behind their order, and each block's
    // G reading must stay with its fix.
    for (bool movie : {true, false}) {
        NovatekMovie m;
        m.index = false;
        m.movie = movie;
        for (int i = 0; i < 6; ++i) {
            Second s;
            s.time.second = i;
            s.gz = 256 + 64 * i;
            m.blocks.push_back(i == 2 ? std::vector<uint8_t>{} : accelBlock(s));
        }
        auto r = extract(m.build());
        ASSERT_EQ(r.samples.size(), 6u) << movie;
        for (size_t i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(r.samples[i].nStatus, i == 2 ? 0 : 1);
            EXPECT_DOUBLE_EQ(r.samples[i].dGz, i == 2 ? 0.0 : 1.0 + 0.25 * double(i));
        }
        EXPECT_EQ(r.samples[4].nSecond, 4);
        EXPECT_DOUBLE_EQ(r.duration, 6.0);
    }
}

// More blocks than a recording can have seconds, through the index and by the scan. Those
// the scan finds are packed 24 bytes apart, each starting with the 'V' that the block three
// before it has as its status.
TEST(NovatekDecoder, KeepsNoMoreBlocksThanARecordingHasSeconds) {
    const size_t limit = size_t(gpx::SecondTimeline::kMaxRecords);
    ByteWriter fake;
    for (size_t i = 0; i < limit + 100; ++i) {
        fake.u8('V').u8(0).be16(24).text("freeGPS ").text("UUUUUUUUUUUU");
    }
    NovatekMovie indexed;
    indexed.blocks = {classicBlock(Second{})};
    indexed.repeatFirst = limit + 100;
    for (bool scanned : {true, false}) {
        SCOPED_TRACE(scanned);
        gpx::MediaFile file;
        file.openMemory(scanned ? TestMovie().withoutMovie().setExtraMedia(fake.data()).build()
                                : indexed.build());
        gpx::MovieInfo movie = gpx::MovieReader::read(file);
        auto track =
            scanned ? NovatekDecoder::scan(file, movie, 0) : NovatekDecoder::decode(file, movie);
        EXPECT_EQ(track.fixes.size(), limit);
    }
}

TEST(NovatekDecoder, FindsBlocksThatStraddleTheScanChunks) {
    // Blocks placed so that markers fall on both sides of, and across, a chunk boundary.
    ByteWriter media;
    for (int i = 0; i < 4; ++i) {
        media.padTo(i == 0 ? gpx::NovatekScanner::kChunk - 200 : media.size());
        Second s;
        s.time.second = i;
        media.bytes(classicBlock(s, 0x60));
    }
    for (size_t shift = 0; shift < 16; ++shift) {
        ByteWriter padded;
        padded.zeros(shift * 7).bytes(media.data());
        TestMovie m;
        m.withoutMovie().setExtraMedia(padded.data());
        auto r = extract(m.build());
        ASSERT_EQ(r.samples.size(), 4u) << shift;
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(r.samples[i].nStatus, 1) << shift << " " << i;
        }
    }
}
