#include <gtest/gtest.h>

#include <vector>

#include "TrackRepair.h"

namespace {

struct When {
    int year, month, day, hour, minute, second;
    bool operator==(const When&) const = default;
};

std::ostream& operator<<(std::ostream& os, const When& w) {
    return os << w.year << "-" << w.month << "-" << w.day << " " << w.hour << ":" << w.minute << ":"
              << w.second;
}

When when(const GPX_SAMPLE& s) {
    return {s.nYear, s.nMonth, s.nDay, s.nHour, s.nMinute, s.nSecond};
}

// A recording of count seconds whose only fix is at anchor, stamped with t.
std::vector<GPX_SAMPLE> withAnchor(int count, int anchor, When t) {
    std::vector<GPX_SAMPLE> s(static_cast<size_t>(count));
    GPX_SAMPLE& a = s[size_t(anchor)];
    a.nStatus = 1;
    a.dLatitude = -33.86882;
    a.dLongitude = 151.20929;
    a.nYear = t.year;
    a.nMonth = t.month;
    a.nDay = t.day;
    a.nHour = t.hour;
    a.nMinute = t.minute;
    a.nSecond = t.second;
    return s;
}

}  // namespace

TEST(TrackRepair, CountsTimeFromTheFirstFixAcrossMidnightMonthsAndYears) {
    struct Case {
        const char* what;
        int count, anchor;
        When anchorTime;
        int sample;
        When expected;
    };
    const Case cases[] = {
        {"year end", 11, 0, {2012, 12, 31, 23, 59, 50}, 10, {2013, 1, 1, 0, 0, 0}},
        {"back over a leap day", 11, 10, {2012, 3, 1, 0, 0, 5}, 0, {2012, 2, 29, 23, 59, 55}},
        {"back over a common February",
         11,
         10,
         {2011, 3, 1, 0, 0, 5},
         0,
         {2011, 2, 28, 23, 59, 55}},
        {"century that is no leap year", 2, 1, {1900, 3, 1, 0, 0, 0}, 0, {1900, 2, 28, 23, 59, 59}},
        {"century that is a leap year", 2, 1, {2000, 3, 1, 0, 0, 0}, 0, {2000, 2, 29, 23, 59, 59}},
        {"into the hour", 31, 0, {2020, 5, 5, 10, 59, 30}, 30, {2020, 5, 5, 11, 0, 0}},
        {"a minute later", 91, 0, {2020, 5, 5, 10, 59, 30}, 90, {2020, 5, 5, 11, 1, 0}},
        {"back into the year before", 3, 2, {2021, 1, 1, 0, 0, 1}, 0, {2020, 12, 31, 23, 59, 59}},
        {"end of a 30-day month", 2, 0, {2020, 4, 30, 23, 59, 59}, 1, {2020, 5, 1, 0, 0, 0}},
        {"the anchor keeps its time", 5, 2, {2020, 5, 5, 10, 0, 0}, 2, {2020, 5, 5, 10, 0, 0}},
    };
    for (const Case& c : cases) {
        auto s = withAnchor(c.count, c.anchor, c.anchorTime);
        TrackRepair::repair(s.data(), c.count);
        EXPECT_EQ(when(s[size_t(c.sample)]), c.expected) << c.what;
    }
}

TEST(TrackRepair, CarriesTheDateOnceForEveryDayOfAVeryLongRecording) {
    // 50 hours after 20:00 on 30 December: two days and six hours on.
    int count = 50 * 3600 + 1;
    auto s = withAnchor(count, 0, {2020, 12, 30, 20, 0, 0});
    TrackRepair::repair(s.data(), count);
    EXPECT_EQ(when(s.back()), (When{2021, 1, 1, 22, 0, 0}));
}

TEST(TrackRepair, WithoutAnyFixCountsFromMidnightOfTheYear2000) {
    std::vector<GPX_SAMPLE> s(3700);
    s[5].nStatus = 2;  // any other status is passed through, and is no fix
    s[5].dLatitude = 12.5;
    s[0].dLatitude = 7.0;
    TrackRepair::repair(s.data(), int(s.size()));
    EXPECT_EQ(when(s[0]), (When{2000, 1, 1, 0, 0, 1}));
    EXPECT_EQ(when(s[58]), (When{2000, 1, 1, 0, 0, 59}));
    EXPECT_EQ(when(s[59]), (When{2000, 1, 1, 0, 1, 0}));
    EXPECT_EQ(when(s[3599]), (When{2000, 1, 1, 1, 0, 0}));
    // No-fix samples after the first hold their predecessor's position.
    EXPECT_DOUBLE_EQ(s[1].dLatitude, 7.0);
    EXPECT_DOUBLE_EQ(s[5].dLatitude, 12.5);
    EXPECT_DOUBLE_EQ(s[6].dLatitude, 12.5);
    EXPECT_EQ(s[5].nStatus, 2);
}

TEST(TrackRepair, AnAnchorWithoutARealDateIsTimedAsIfThereWereNoFix) {
    for (When t : {When{0, 0, 0, 0, 0, 0}, When{2020, 2, 30, 12, 0, 0}, When{2020, 1, 1, 24, 0, 0},
                   When{2147483647, 12, 31, 23, 59, 59}}) {
        auto s = withAnchor(4, 2, t);
        TrackRepair::repair(s.data(), 4);
        EXPECT_EQ(when(s[0]), (When{2000, 1, 1, 0, 0, 1})) << t;
        EXPECT_EQ(when(s[3]), (When{2000, 1, 1, 0, 0, 4})) << t;
        EXPECT_DOUBLE_EQ(s[0].dLatitude, -33.86882);  // its position still counts
    }
}

TEST(TrackRepair, FillsPositionsBeforeAndAfterTheFirstFix) {
    auto s = withAnchor(7, 2, {2020, 1, 1, 12, 0, 0});
    s[0].dLatitude = 5.0;  // before the anchor every sample takes its position
    s[1].nStatus = 2;
    s[1].dLatitude = 6.0;
    s[3].nStatus = 1;
    s[3].dLatitude = -34.0;
    s[3].dLongitude = -58.0;
    s[5].nStatus = 3;  // neither fix nor no-fix: its own position stays
    s[5].dLatitude = 1.0;
    s[5].dLongitude = 2.0;
    TrackRepair::repair(s.data(), 7);
    EXPECT_DOUBLE_EQ(s[0].dLatitude, -33.86882);
    EXPECT_DOUBLE_EQ(s[1].dLatitude, -33.86882);
    EXPECT_DOUBLE_EQ(s[1].dLongitude, 151.20929);
    EXPECT_DOUBLE_EQ(s[4].dLatitude, -34.0);  // holds the last fix
    EXPECT_DOUBLE_EQ(s[5].dLatitude, 1.0);
    EXPECT_DOUBLE_EQ(s[6].dLatitude, 1.0);  // holds its predecessor, whatever that was
    EXPECT_DOUBLE_EQ(s[6].dLongitude, 2.0);
    EXPECT_EQ(s[1].nStatus, 2);
}

TEST(TrackRepair, LeavesAnEmptyRecordingAlone) {
    TrackRepair::repair(nullptr, 0);
    GPX_SAMPLE one{};
    TrackRepair::repair(&one, 0);
    EXPECT_EQ(one.nYear, 0);
}
