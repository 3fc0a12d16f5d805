#include <gtest/gtest.h>

#include <cmath>

#include "CivilTime.h"
#include "FixPlausibility.h"
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

TEST(SecondTimeline, CountsFromTheYear2000WhenNothingTellsTheTime) {
    // A fix without a time and a recording without a start: as the repair counts a
    // recording without any fix, second s is s + 1 seconds after midnight of 2000-01-01.
    RawTrack t;
    t.found = true;
    t.clock = RawTrack::Clock::Media;
    Fix f = fixAt(1.0, 0);
    f.hasTime = false;
    t.fixes.push_back(f);
    t.startUtc = -5;  // a creation time before 2000 tells nothing either
    auto r = SecondTimeline::build(t, 2.0);
    EXPECT_EQ(statuses(r), (std::vector<int>{0, 1}));
    for (int s = 0; s < 2; ++s) {
        const GPX_SAMPLE& x = r[size_t(s)];
        EXPECT_EQ((std::vector<int>{x.nYear, x.nMonth, x.nDay, x.nHour, x.nMinute, x.nSecond}),
                  (std::vector<int>{2000, 1, 1, 0, 0, 1 + s}));
    }
}

TEST(SecondTimeline, AFixWithAValueOutOfRangeIsNoFix) {
    const int64_t latest = kNoon + 86400;
    struct Case {
        const char* what;
        double lat, lon, kmh, heading;
        int64_t utc;
        int status;
    };
    const Case cases[] = {
        {"at every limit", -90.0, 180.0, 500.0, 360.0, latest, 1},
        {"the other limits", 90.0, -180.0, 0.0, 0.0, gpx::FixPlausibility::kEarliestUtc, 1},
        {"beyond the pole", 90.001, 10.0, 36.0, 90.0, kNoon, 0},
        {"beyond the date line", 10.0, -180.001, 36.0, 90.0, kNoon, 0},
        {"faster than any car", 10.0, 10.0, 500.1, 90.0, kNoon, 0},
        {"a negative speed", 10.0, 10.0, -0.1, 90.0, kNoon, 0},
        {"a heading past a turn", 10.0, 10.0, 36.0, 360.1, kNoon, 0},
        {"a negative heading", 10.0, 10.0, 36.0, -0.1, kNoon, 0},
        {"no longitude", 10.0, INFINITY, 36.0, 90.0, kNoon, 0},
        {"no speed", 10.0, 10.0, NAN, 90.0, kNoon, 0},
        {"no heading", 10.0, 10.0, 36.0, NAN, kNoon, 0},
        {"before 2000", 10.0, 10.0, 36.0, 90.0, gpx::FixPlausibility::kEarliestUtc - 1, 0},
        {"more than a day ahead", 10.0, 10.0, 36.0, 90.0, latest + 1, 0},
    };
    for (const Case& c : cases) {
        RawTrack t;
        t.found = true;
        t.clock = RawTrack::Clock::Media;
        Fix f = fixAt(0.0, c.utc, c.lat, c.lon);
        f.speedKmh = c.kmh;
        f.heading = c.heading;
        t.fixes.push_back(f);
        auto r = SecondTimeline::build(t, 1.0, gpx::FixPlausibility(latest));
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].nStatus, c.status) << c.what;
        EXPECT_GE(r[0].nYear, 2000) << c.what;  // a time out of range is not used either
    }
}

TEST(SecondTimeline, AStaleFixOnTheMediaClockIsNoFixAndKeepsNoTime) {
    // The first fix comes from a receiver whose clock has not settled; the others lag the
    // samples' times by a jittering second or drift.
    struct Case {
        const char* what;
        int stale;
        int lag[6];
    };
    const Case cases[] = {
        {"stale by 91 s", 91, {0, 1, 0, 0, -1, 0}},
        {"just beyond the allowed lag", 6, {0, 1, 0, 0, -1, 0}},
        {"no two fixes agree exactly", 91, {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RawTrack t;
        t.found = true;
        t.clock = RawTrack::Clock::Media;
        t.fixes.push_back(fixAt(0.0, kNoon - c.stale, 10.0));
        for (int i = 1; i <= 6; ++i) {
            t.fixes.push_back(fixAt(i, kNoon + i + c.lag[i - 1]));
        }
        auto r = SecondTimeline::build(t, 7.0);
        EXPECT_EQ(statuses(r), (std::vector<int>{0, 1, 1, 1, 1, 1, 1}));
        EXPECT_EQ(r[0].nHour, 12);
        EXPECT_EQ(r[0].nMinute, 0);
        EXPECT_EQ(r[0].nSecond, 0);
        EXPECT_EQ(r[2].nSecond, 2 + c.lag[1]);  // a fix within the lag keeps its own time
    }
}

TEST(SecondTimeline, SurvivesTimesOffsetsAndLengthsNoRecordingHas) {
    RawTrack t;
    t.found = true;
    for (int64_t ms : {INT64_MIN, INT64_MAX, int64_t(-999)}) {
        Fix f = fixAt(0.0, 0);
        f.utcMillis = ms;
        t.fixes.push_back(f);
    }
    for (double offset : {1e300, -1e300, double(NAN), 9.3e18}) {
        t.fixes.push_back(fixAt(offset, kNoon));
        t.g.push_back(GReading{offset, 1, 1, 1});
    }
    for (auto clock : {RawTrack::Clock::Media, RawTrack::Clock::Order, RawTrack::Clock::Stamp}) {
        t.clock = clock;
        for (double length : {1e300, 9.3e18, double(INFINITY), double(NAN), -1.0}) {
            auto r = SecondTimeline::build(t, length);
            EXPECT_EQ(r.size(), std::isfinite(length) && length > 0
                                    ? size_t(SecondTimeline::kMaxRecords)
                                    : size_t(0))
                << length;
            for (size_t s = 0; s < std::min<size_t>(r.size(), 3); ++s) {
                EXPECT_EQ(r[s].nStatus, 0);
                EXPECT_EQ(r[s].nYear, 2000);
            }
        }
    }
}

TEST(SecondTimeline, LooksAtNoMoreFixesAndReadingsThanATrackKeeps) {
    RawTrack t;
    t.found = true;
    t.clock = RawTrack::Clock::Media;
    Fix v = fixAt(0.0, kNoon);
    v.valid = false;
    t.fixes.assign(RawTrack::kMaxFixes, v);
    t.fixes.push_back(fixAt(0.0, kNoon));  // one past what a track keeps
    t.g.assign(RawTrack::kMaxReadings, GReading{0.0, 0, 0, 1});
    t.g.push_back(GReading{0.0, 0, 0, 2});
    auto r = SecondTimeline::build(t, 1.0);
    EXPECT_EQ(r[0].nStatus, 0);
    EXPECT_DOUBLE_EQ(r[0].dGSum, 1.0);
}
