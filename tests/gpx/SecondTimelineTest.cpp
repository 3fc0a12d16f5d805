#include <gtest/gtest.h>

#include <cmath>

#include "CivilTime.h"
#include "SecondTimeline.h"

using gpx::Fix;
using gpx::GReading;
using gpx::RawTrack;
using gpx::SecondTimeline;

namespace {

const int64_t kNoon = gpx::CivilTime{2020, 1, 1, 12, 0, 0}.toUnix();

Fix fixAt(double offset, int64_t utcSecond, double lat = -34.6, double lon = -58.4) {
    Fix f;
    f.offset = offset;
    f.valid = true;
    f.hasTime = true;
    f.utcMillis = utcSecond * 1000;
    f.latitude = lat;
    f.longitude = lon;
    f.speedKmh = 36.0;
    f.heading = 90.0;
    return f;
}

std::vector<int> statuses(const std::vector<GPX_SAMPLE>& s) {
    std::vector<int> out;
    for (const auto& r : s) {
        out.push_back(r.nStatus);
    }
    return out;
}

}  // namespace

TEST(SecondTimeline, HasOneRecordPerSecondOfTheRecording) {
    RawTrack t;
    t.found = true;
    for (int i = 0; i < 12; ++i) {
        t.fixes.push_back(fixAt(i, kNoon + i));
    }
    EXPECT_EQ(SecondTimeline::build(t, 10.0).size(), 10u);   // fixes past the end are dropped
    EXPECT_EQ(SecondTimeline::build(t, 10.05).size(), 10u);  // a sliver is not a second
    EXPECT_EQ(SecondTimeline::build(t, 10.5).size(), 11u);
    EXPECT_EQ(SecondTimeline::build(t, 0.0).size(), 0u);
    EXPECT_EQ(SecondTimeline::build(t, -1.0).size(), 12u);  // no movie header: the data's span
    auto r = SecondTimeline::build(t, 10.0);
    EXPECT_EQ(r[9].nSecond, 9);
    EXPECT_EQ(r[9].nHour, 12);
    EXPECT_EQ(r[9].nYear, 2020);
}

TEST(SecondTimeline, PlacesFixesByGnssSecondWhenTheCameraClockIsUnreliable) {
    RawTrack t;
    t.found = true;
    // Block order 0..6; GNSS seconds 0, 2, 3, 4, 4 (repeated), 6, and a stale fix 90 s old.
    const int gnss[] = {0, 2, 3, 4, 4, 6};
    for (int i = 0; i < 6; ++i) {
        t.fixes.push_back(fixAt(i, kNoon + gnss[i], -34.0 - i));
    }
    t.fixes.insert(t.fixes.begin(), fixAt(0, kNoon - 90));
    auto r = SecondTimeline::build(t, 7.0);
    // Four of the seven fixes are one second ahead of their block: that difference ties
    // GNSS to the recording. The first block falls before the start, the stale fix far
    // before it; the repeated second keeps its first fix and the skipped ones are no-fix.
    EXPECT_EQ(statuses(r), (std::vector<int>{0, 1, 1, 1, 0, 1, 0}));
    EXPECT_DOUBLE_EQ(r[1].dLatitude, -35.0);
    EXPECT_DOUBLE_EQ(r[3].dLatitude, -37.0);
    EXPECT_DOUBLE_EQ(r[5].dLatitude, -39.0);
    // Every record has the time the GNSS clock gives its second.
    for (int s = 0; s < 7; ++s) {
        EXPECT_EQ(r[size_t(s)].nSecond, (s + 1) % 60) << s;
    }
}

TEST(SecondTimeline, BlocksInCameraOrderCountFromTheStartOfTheRecording) {
    RawTrack t;
    t.found = true;
    t.clock = RawTrack::Clock::Order;
    // A stale leading block, three fresh ones, then the camera lost a second: four more.
    t.fixes.push_back(fixAt(0, kNoon - 120, -1.0));
    for (int i = 1; i <= 3; ++i) {
        t.fixes.push_back(fixAt(i, kNoon + i, -1.0 - i));
    }
    for (int i = 4; i <= 7; ++i) {
        t.fixes.push_back(fixAt(i, kNoon + i + 1, -1.0 - i));
    }
    auto r = SecondTimeline::build(t, 9.0);
    EXPECT_EQ(statuses(r), (std::vector<int>{0, 1, 1, 1, 0, 1, 1, 1, 1}));
    EXPECT_DOUBLE_EQ(r[1].dLatitude, -2.0);
    EXPECT_DOUBLE_EQ(r[5].dLatitude, -5.0);
    EXPECT_EQ(r[8].nSecond, 8);
}

TEST(SecondTimeline, PlacesFixesByOffsetWhenTheFormatTimesItsSamples) {
    RawTrack t;
    t.found = true;
    t.clock = RawTrack::Clock::Media;
    // The GNSS stamp of the first sample lags: keyed by GNSS it would fall out.
    t.fixes.push_back(fixAt(0.0, kNoon));
    t.fixes.push_back(fixAt(0.5, kNoon));
    t.fixes.push_back(fixAt(1.001, kNoon + 2));
    t.fixes.push_back(fixAt(2.002, kNoon + 3));
    auto r = SecondTimeline::build(t, 3.0);
    EXPECT_EQ(statuses(r), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(r[0].nSecond, 0);
    EXPECT_EQ(r[1].nSecond, 2);
}

TEST(SecondTimeline, AValidFixWinsOverAVoidOneAndImplausiblePositionsAreNoFix) {
    RawTrack t;
    t.found = true;
    t.clock = RawTrack::Clock::Media;
    Fix v = fixAt(0.0, kNoon);
    v.valid = false;
    t.fixes.push_back(v);
    t.fixes.push_back(fixAt(0.4, kNoon));
    t.fixes.push_back(fixAt(1.0, kNoon + 1, 0.0, 0.0));    // the null island of a blank record
    t.fixes.push_back(fixAt(2.0, kNoon + 2, 91.0, 10.0));  // beyond the pole
    t.fixes.push_back(fixAt(3.0, kNoon + 3, NAN, 10.0));
    auto r = SecondTimeline::build(t, 4.0);
    EXPECT_EQ(statuses(r), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(r[1].dLatitude, 0.0);
    EXPECT_EQ(r[1].nSecond, 1);  // a no-fix second still has its time
}

TEST(SecondTimeline, KeepsTheStrongestGReadingOfEachSecond) {
    RawTrack t;
    t.found = true;
    t.g = {GReading{0.0, 0, 0, 1}, GReading{0.5, 1.2, -1.6, 0}, GReading{0.9, 0, 0, -1.5},
           GReading{2.3, 0.3, 0.4, 0}};
    auto r = SecondTimeline::build(t, 3.0);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_DOUBLE_EQ(r[0].dGx, 1.2);
    EXPECT_DOUBLE_EQ(r[0].dGy, -1.6);
    EXPECT_DOUBLE_EQ(r[0].dGSum, 2.0);
    EXPECT_DOUBLE_EQ(r[1].dGSum, 0.0);
    EXPECT_DOUBLE_EQ(r[2].dGSum, 0.5);
    EXPECT_EQ(statuses(r), (std::vector<int>{0, 0, 0}));
}

TEST(SecondTimeline, FormatsWithoutTimeCountFromTheRecordingStart) {
    RawTrack t;
    t.found = true;
    t.clock = RawTrack::Clock::Media;
    t.startUtc = gpx::CivilTime{2012, 12, 31, 23, 59, 59}.toUnix();
    Fix f = fixAt(1.0, 0);
    f.hasTime = false;
    t.fixes.push_back(f);
    auto r = SecondTimeline::build(t, 2.0);
    EXPECT_EQ(statuses(r), (std::vector<int>{0, 1}));
    EXPECT_EQ(r[1].nYear, 2013);
    EXPECT_EQ(r[1].nMonth, 1);
    EXPECT_EQ(r[1].nDay, 1);
    EXPECT_EQ(r[1].nSecond, 0);
    EXPECT_EQ(r[0].nYear, 2012);
}

TEST(SecondTimeline, GivesNoTimeWhenNothingTellsIt) {
    RawTrack t;
    t.found = true;
    t.g = {GReading{0.0, 0, 0, 1}};
    auto r = SecondTimeline::build(t, 1.0);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].nYear, 0);
}
