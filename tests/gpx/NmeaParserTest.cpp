#include <gtest/gtest.h>

#include "CivilTime.h"
#include "NmeaParser.h"

using gpx::NmeaParser;

TEST(NmeaParser, ReadsRecommendedMinimumSentences) {
    struct Case {
        const char* sentence;
        bool valid;
        double lat, lon, kmh, course;
        const char* utc;  // yyyy-mm-dd hh:mm:ss.mmm or "" when incomplete
    };
    const Case cases[] = {
        {"GPRMC,191450.00,A,5357.14375,N,02740.86226,E,7.525,62.67,080717,,,A*56", true,
         53.0 + 57.14375 / 60, 27.0 + 40.86226 / 60, 7.525 * 1.852, 62.67,
         "2017-07-08 19:14:50.000"},
        {"GNRMC,161313.50,A,4529.87489,S,07337.01215,W,6.225,35.34,310819,,,A*52", true,
         -(45.0 + 29.87489 / 60), -(73.0 + 37.01215 / 60), 6.225 * 1.852, 35.34,
         "2019-08-31 16:13:13.500"},
        // a void fix may carry time and date but no position
        {"GPRMC,051930.00,V,,,,,,,090717,,,N*7B", false, 0, 0, 0, 0, "2017-07-09 05:19:30.000"},
        // or nothing at all
        {"GPRMC,,V,,,,,,,,,,N*53", false, 0, 0, 0, 0, ""},
        // a fix whose status says A but has no position is no fix
        {"GPRMC,120000,A,,,,,,,010120,,,A", false, 0, 0, 0, 0, "2020-01-01 12:00:00.000"},
        // a negative speed is handed on as it is, for the fix check to turn down
        {"GPRMC,000000,A,0000.5000,N,00000.5000,E,-5,0,010120,,", true, 0.5 / 60, 0.5 / 60,
         -5 * 1.852, 0, "2020-01-01 00:00:00.000"},
        // two-digit years from 70 on are the last century
        {"GPRMC,000000,A,0000.5000,N,00000.5000,E,0,0,311299,,", true, 0.5 / 60, 0.5 / 60, 0, 0,
         "1999-12-31 00:00:00.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence);
        auto r = NmeaParser::parseRmc(c.sentence);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->valid, c.valid);
        if (c.valid) {
            EXPECT_NEAR(r->latitude, c.lat, 1e-12);
            EXPECT_NEAR(r->longitude, c.lon, 1e-12);
            EXPECT_NEAR(r->speedKmh, c.kmh, 1e-9);
            EXPECT_NEAR(r->course, c.course, 1e-9);
        }
        if (*c.utc == 0) {
            EXPECT_FALSE(r->hasUtc());
        } else {
            ASSERT_TRUE(r->hasUtc());
            auto t = gpx::CivilTime::fromUnix(r->utcMillis() / 1000);
            char buf[32];
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month,
                          t.day, t.hour, t.minute, t.second, int(r->utcMillis() % 1000));
            EXPECT_STREQ(buf, c.utc);
        }
    }
}

TEST(NmeaParser, NotesButAcceptsAWrongChecksum) {
    auto good = NmeaParser::parseRmc("GPRMC,051930.00,V,,,,,,,090717,,,N*7B");
    auto bad = NmeaParser::parseRmc("GPRMC,051930.00,V,,,,,,,090717,,,N*7C");
    ASSERT_TRUE(good && bad);
    EXPECT_TRUE(good->checksumOk);
    EXPECT_FALSE(bad->checksumOk);
}

TEST(NmeaParser, RejectsWhatIsNotARecommendedMinimumOrHasBadFields) {
    EXPECT_FALSE(NmeaParser::parseRmc("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M"));
    EXPECT_FALSE(NmeaParser::parseRmc("GPRMC,1"));
    // minutes of 60 or more, letters in numbers, a hemisphere that is not one
    for (const char* s : {"GPRMC,120000,A,4860.000,N,01131.000,E,0,0,010120,,",
                          "GPRMC,120000,A,48x7.038,N,01131.000,E,0,0,010120,,",
                          "GPRMC,120000,A,4807.038,Q,01131.000,E,0,0,010120,,"}) {
        auto r = NmeaParser::parseRmc(s);
        ASSERT_TRUE(r) << s;
        EXPECT_FALSE(r->valid) << s;
    }
    auto badDate = NmeaParser::parseRmc("GPRMC,120000,A,4807.038,N,01131.000,E,0,0,310220,,");
    ASSERT_TRUE(badDate);
    EXPECT_FALSE(badDate->hasUtc());  // 31 February
}

TEST(NmeaParser, SplitsCameraTextIntoLines) {
    const char text[] =
        "[1499552090960]$GPRMC,191450.00,A,5357.14375,N,02740.86226,E,7.525,62.67,080717,,,A*56\n\n"
        "[1499552090960]$GPGGA,191450.00,5357.14375,N,02740.86226,E,1,08,1.01,215.3,M,24.6,M,,*"
        "6E\r\n"
        "gsensori,4,512,256,-512,1024;GNRMC,161313.00,A,4529.87489,N,07337.01215,W,6.225,35.34,"
        "310819,,,A*52;CAR,0,0,0,0.0,0,0,0,0,0,0,0,0\n"
        "$GPRMC,000001,A,0000.0000,N,00000.0000,E,0,0,010120,,$GPRMC,000002,V,,,,,,,010120,,\0"
        "$GPRMC,000003,A,4807.038,N,01131.000,E,0,0,010120,,";  // after a NUL: still text
    auto lines = NmeaParser::parseText(std::string_view(text, sizeof text - 1));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].stamp, 1499552090960);
    EXPECT_EQ(lines[0].rmc.size(), 1u);
    ASSERT_EQ(lines[1].gsensor.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[1].gsensor[0].x, 0.5);
    EXPECT_DOUBLE_EQ(lines[1].gsensor[0].y, -1.0);
    EXPECT_DOUBLE_EQ(lines[1].gsensor[0].z, 2.0);
    ASSERT_EQ(lines[1].rmc.size(), 1u);
    EXPECT_LT(lines[1].rmc[0].longitude, 0.0);
    EXPECT_EQ(lines[2].rmc.size(), 2u);  // two sentences on one line
    EXPECT_FALSE(lines[2].stamp);
    EXPECT_EQ(lines[3].rmc.size(), 1u);
}

TEST(NmeaParser, SplitsDegreesAndMinutesOnTheDigits) {
    EXPECT_DOUBLE_EQ(*NmeaParser::parseDegreesMinutes("4807.038"), 48.0 + 7.038 / 60);
    EXPECT_DOUBLE_EQ(*NmeaParser::parseDegreesMinutes("01131.000"), 11.0 + 31.0 / 60);
    EXPECT_DOUBLE_EQ(*NmeaParser::parseDegreesMinutes("17959.99999"), 179.0 + 59.99999 / 60);
    EXPECT_DOUBLE_EQ(*NmeaParser::parseDegreesMinutes("0030"), 0.5);
    EXPECT_FALSE(NmeaParser::parseDegreesMinutes(""));
    EXPECT_FALSE(NmeaParser::parseDegreesMinutes("-4807.038"));
    EXPECT_FALSE(NmeaParser::parseDegreesMinutes("48"));
    EXPECT_FALSE(NmeaParser::parseDegreesMinutes("1234567.0"));
}
