#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "ByteWriter.h"
#include "CivilTime.h"
#include "Extractor.h"
#include "MediaFile.h"
#include "NovatekDecoder.h"
#include "TestMovie.h"

using gpx::CivilTime;
using gpx::NovatekDecoder;

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

std::vector<uint8_t> classicBlock(const Second& s, size_t size = 0x400) {
    ByteWriter w;
    w.be32(uint32_t(size)).text("freeGPS ").le32(0x4C).zeros(0x20);
    w.le32(uint32_t(s.time.hour))
        .le32(uint32_t(s.time.minute))
        .le32(uint32_t(s.time.second))
        .le32(uint32_t(s.time.year - 2000))
        .le32(uint32_t(s.time.month))
        .le32(uint32_t(s.time.day));
    w.u8(uint8_t(s.status)).u8(s.lat < 0 ? 'S' : 'N').u8(s.lon < 0 ? 'W' : 'E').u8(0);
    w.le32f(ddmm(s.lat)).le32f(ddmm(s.lon)).le32f(float(s.kmh / 1.852)).le32f(float(s.heading));
    return w.padTo(size).take();
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

    std::vector<uint8_t> build() const {
        ByteWriter media;
        std::vector<std::pair<uint32_t, uint32_t>> entries;
        for (const auto& b : blocks) {
            entries.emplace_back(uint32_t(media.size()), uint32_t(b.size()));
            media.bytes(b);
        }
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
    for (bool movie : {true, false}) {
        NovatekMovie m;
        m.index = false;
        m.movie = movie;
        for (int i = 0; i < 5; ++i) {
            Second s;
            s.time.second = i;
            m.blocks.push_back(accelBlock(s));
        }
        auto r = extract(m.build());
        ASSERT_EQ(r.samples.size(), 5u) << movie;
        EXPECT_EQ(r.samples[4].nStatus, 1);
        EXPECT_EQ(r.samples[4].nSecond, 4);
        EXPECT_DOUBLE_EQ(r.samples[4].dGz, 1.0);
        EXPECT_DOUBLE_EQ(r.duration, 5.0);
    }
}

TEST(NovatekDecoder, FindsBlocksThatStraddleTheScanChunks) {
    // Blocks placed so that markers fall on both sides of, and across, a chunk boundary.
    ByteWriter media;
    for (int i = 0; i < 4; ++i) {
        media.padTo(i == 0 ? NovatekDecoder::kScanChunk - 200 : media.size());
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
