#include <gtest/gtest.h>

#include <string>

#include "BlackVueDecoder.h"
#include "ByteWriter.h"
#include "Extractor.h"
#include "MediaFile.h"
#include "TestMovie.h"

using gpx::BlackVueDecoder;
using gpx::RawTrack;

namespace {

// Two seconds of the camera's log, each line under the given stamp.
std::string log(const std::string& first, const std::string& second) {
    return "[" + first + "]$GPRMC,191450.00,A,5357.14375,N,02740.86226,E,7.525,62.67,080717,,,A\n" +
           "[" + second + "]$GPRMC,191451.00,A,5357.14475,N,02740.86326,E,7.525,62.67,080717,,,A\n";
}

}  // namespace

TEST(BlackVueDecoder, IgnoresStampsAndStartTimesNoClockGives) {
    // Beyond any clock the differences of stamps and times overflowed; such a stamp or start
    // now counts as missing, and the fixes follow each other a second apart.
    const std::string max = std::to_string(INT64_MAX);
    const std::string min = std::to_string(INT64_MIN);
    struct Case {
        const char* what;
        std::string first, second;
        std::optional<int64_t> start;
    };
    const Case cases[] = {
        {"stamps at the top", max, max, int64_t(1499552090000)},
        {"stamps at the bottom", min, min, int64_t(1499552090000)},
        {"a start at the bottom", min, max, INT64_MIN},
        {"no start, stamps at the top", max, max, std::nullopt},
    };
    for (const Case& c : cases) {
        RawTrack track;
        BlackVueDecoder::readGpsLog(log(c.first, c.second), c.start, track);
        ASSERT_EQ(track.fixes.size(), 2u) << c.what;
        EXPECT_EQ(track.clock, RawTrack::Clock::Stamp) << c.what;
        EXPECT_DOUBLE_EQ(track.fixes[0].offset, 0.0) << c.what;
        EXPECT_DOUBLE_EQ(track.fixes[1].offset, 1.0) << c.what;
    }

    // A start time at the top of the box's 64 bits is ignored: the stamps place the fixes.
    auto payload = ByteWriter::concat(
        {ByteWriter::box("sttm", ByteWriter().be64(UINT64_MAX).data()),
         ByteWriter::box("gps ", ByteWriter().text(log("1499552090960", "1499552091950")).data())});
    TestMovie m;
    m.addTopLevel(ByteWriter::box("free", payload)).durationSeconds(2);
    gpx::MediaFile file;
    file.openMemory(m.build());
    auto r = gpx::Extractor::extract(file);
    ASSERT_EQ(r.samples.size(), 2u);
    EXPECT_EQ(r.samples[0].nStatus, 1);
    EXPECT_EQ(r.samples[1].nStatus, 1);
}

TEST(BlackVueDecoder, KeepsNoMoreReadingsThanATrackHolds) {
    // Ten bytes a reading: a 64 MB box would hold six million, far more than any recording.
    std::vector<uint8_t> records((RawTrack::kMaxReadings + 3) * 10, 0x01);
    RawTrack track;
    BlackVueDecoder::readAccelerometer(records, track);
    EXPECT_EQ(track.g.size(), RawTrack::kMaxReadings);
    EXPECT_TRUE(track.full());
}
