#include <gtest/gtest.h>

#include <QLocale>
#include <stdexcept>

#include "services/Rounding.h"
#include "services/clsDot.h"

namespace {

struct PointData {
    const char* time;
    std::int16_t speed;
    std::int32_t second;
    const char* longitude;
    const char* latitude;
    double gX = 0.0;
    double gY = 0.0;
    double gZ = 0.0;
};

clsDot trackOf(std::initializer_list<PointData> points) {
    clsDot track;
    for (const PointData& p : points) {
        track.SetDot(QStringLiteral("2012/10/5 09:05:30"), QString::fromLatin1(p.time), p.speed,
                     p.second, QString::fromLatin1(p.longitude), QString::fromLatin1(p.latitude),
                     0.0, 90, p.gX, p.gY, p.gZ);
    }
    return track;
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{44.5, 44},
                                               {45.5, 46},
                                               {-2.5, -2},
                                               {-3.5, -4},
                                               {2.4, 2},
                                               {2.6, 3},
                                               // The loader's G values: × 100, rounded, ÷ 100.
                                               {0.125 * 100, 12},
                                               {0.135 * 100, 14},
                                               {0.0, 0}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(Rounding::halfEven(value), expected) << value;
    }
}

TEST(clsDot, NewTrackIsEmptyWithoutErrors) {
    clsDot track;
    EXPECT_EQ(track.lDotCount(), 0);
    EXPECT_EQ(track.lPlayLocal, 0);
    EXPECT_EQ(track.strTime(), QString());
    EXPECT_EQ(track.dSpeed(), 0.0);
    // The empty slot 1 is in range; 2 is not.
    track.lPlayLocal = 1;
    EXPECT_EQ(track.sLonLat(), QString());
    EXPECT_EQ(track.GetDotTime(1), 0);
    EXPECT_THROW(track.GetDotTime(2), std::out_of_range);
    EXPECT_EQ(track.lPtLocal(0, 0), 0);
}

TEST(clsDot, PointsFillOneMoreSlotThanTheyAre) {
    clsDot track = trackOf({{"00:00", 50, 0, "121.533958", "25.036512", -0.5, 0.1, 1.2},
                            {"00:01", 52, 1, "121.533990", "25.036540", 0.3, 0.2, 0.9},
                            {"00:02", 49, 2, "121.534020", "25.036570", 0.1, 0.1, 1.0}});
    EXPECT_EQ(track.lDotCount(), 3);
    EXPECT_EQ(track.lLastSecond(), 2);
    EXPECT_EQ(track.dMaxSpeed(), 52.0);
    EXPECT_EQ(track.dMaxG(), 1.2);
    EXPECT_EQ(track.dMinG(), -0.5);

    track.lPlayLocal = 2;
    EXPECT_EQ(track.sLonLat(), QStringLiteral("121.533990|25.036540"));
    EXPECT_EQ(track.strTime(), QStringLiteral("00:01"));
    EXPECT_EQ(track.dSpeed(), 52.0);
    EXPECT_EQ(track.dG_x(), 0.3);
    EXPECT_EQ(track.iAngelValue(), 90);
    EXPECT_EQ(track.lSecond(), 1.0);

    // Slot 4 is the empty top slot; 0 and 5 lie outside.
    for (const std::int32_t outside : {0, 4, 5, -1}) {
        track.lPlayLocal = outside;
        EXPECT_EQ(track.strDate(), QString()) << outside;
        EXPECT_EQ(track.dG_Sum(), 0.0) << outside;
        EXPECT_EQ(track.MouseSecond(outside), 0) << outside;
        EXPECT_EQ(track.MouseSpeed(outside), 0) << outside;
    }
    EXPECT_EQ(track.GetDotTime(3), 2);
    EXPECT_EQ(track.GetDotTime(4), 0);
    EXPECT_THROW(track.GetDotTime(5), std::out_of_range);
    EXPECT_THROW(track.GetDotTime(0), std::out_of_range);
}

TEST(clsDot, AllPositiveGKeepsTheLowestAtZero) {
    const clsDot track = trackOf({{"00:00", 0, 0, "1", "1", 0.2, 0.3, 1.1}});
    EXPECT_EQ(track.dMinG(), 0.0);
    EXPECT_EQ(track.dMaxG(), 1.1);
}

TEST(clsDot, ShowInfoUsesTheUnitAndTheUsersNumberFormat) {
    const clsDot track = trackOf({{"01:05", 50, 65, "1", "1"}});
    struct Case {
        QLocale locale;
        double factor;
        const char* expected;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), 0.6213712, "Time:01:05\rSpeed:31.07"},
        {QLocale(QLocale::English, QLocale::UnitedStates), 1.0, "Time:01:05\rSpeed:50.00"},
        {QLocale(QLocale::German, QLocale::Germany), 0.5399568, "Time:01:05\rSpeed:27,00"},
    };
    const QLocale before;
    for (const Case& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(track.ShowInfo(1, c.factor), QString::fromUtf8(c.expected));
    }
    QLocale::setDefault(before);
    EXPECT_EQ(track.ShowInfo(3, 1.0), QString());
}

TEST(clsDot, PositionSearchUsesHalfOpenRectanglesAndSkipsTheLastPair) {
    // x and y are the texts × 10,000,000.
    const clsDot track = trackOf({{"00:00", 0, 0, "0.0000010", "0.0000010"},
                                  {"00:01", 0, 1, "0.0000030", "0.0000030"},
                                  {"00:02", 0, 2, "0.0000030", "0.0000050"},
                                  {"00:03", 0, 3, "0.0000060", "0.0000090"}});
    struct Case {
        std::int32_t x;
        std::int32_t y;
        std::int32_t index;
    };
    const Case cases[] = {
        {10, 10, 1},               // the top-left corner lies inside
        {29, 29, 1}, {30, 20, 0},  // the right edge lies outside
        {20, 30, 0},               // and so does the bottom edge
        {30, 40, 0},               // points 2 and 3 share x: an empty rectangle
        {40, 60, 0},               // the last pair is never searched
        {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(track.lPtLocal(c.x, c.y), c.index) << c.x << "," << c.y;
    }
    EXPECT_EQ(trackOf({{"00:00", 0, 0, "0.000001", "0.000002"}}).lPtLocal(10, 20), 1);
    EXPECT_EQ(trackOf({{"00:00", 0, 0, "0", "0"}, {"00:01", 0, 1, "1", "1"}}).lPtLocal(5, 5), 0);
}

TEST(clsDot, PlayLocalFollowsTheSecondExceptInTheLastPair) {
    clsDot track = trackOf({{"00:00", 0, 0, "1", "1"},
                            {"00:02", 0, 2, "1", "1"},
                            {"00:03", 0, 3, "1", "1"},
                            {"00:05", 0, 5, "1", "1"}});
    const std::pair<std::int32_t, std::int32_t> cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 2}};
    for (const auto& [second, index] : cases) {
        track.ForcePlayLocal(second);
        EXPECT_EQ(track.lPlayLocal, index) << second;
    }
    // Second 4 lies only in the last pair: the current point stays.
    track.ForcePlayLocal(4);
    EXPECT_EQ(track.lPlayLocal, 2);
}

TEST(clsDot, PositionsThatAreNoNumbersAreRefused) {
    clsDot track;
    for (const char* text : {"", "12;alert(1)", "nan", "1e300"}) {
        EXPECT_THROW(track.SetDot(QString(), QString(), 0, 0, QString::fromLatin1(text),
                                  QStringLiteral("1"), 0, 0, 0, 0, 0),
                     std::runtime_error)
            << text;
    }
    EXPECT_EQ(track.lDotCount(), 0);
    // Halves of the fixed point go to the even neighbour.
    track.SetDot(QString(), QString(), 0, 0, QStringLiteral("0.00000025"),
                 QStringLiteral("0.00000035"), 0, 0, 0, 0, 0);
    EXPECT_EQ(track.lPtLocal(2, 4), 1);
}

}  // namespace
