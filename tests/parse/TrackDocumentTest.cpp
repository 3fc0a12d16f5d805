#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "TrackDocumentWriter.h"
#include "TrackRepair.h"

namespace {

std::string golden(const std::string& name) {
    std::ifstream in(std::string(HARVENTIS_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

GPX_SAMPLE fix(int status, double lat, double lon, double angle, double speed, double g) {
    GPX_SAMPLE s{};
    s.nStatus = status;
    s.dLatitude = lat;
    s.dLongitude = lon;
    s.dAngle = angle;
    s.dSpeed = speed;
    s.dGx = 0.0;
    s.dGy = 0.0;
    s.dGz = g;
    s.dGSum = g;
    return s;
}

std::string repairedDocument(double duration, std::vector<GPX_SAMPLE> samples) {
    GPX_DATA data{duration, samples.empty() ? nullptr : samples.data(), int(samples.size())};
    TrackRepair::repair(data.pSamples, data.nCount);
    return TrackDocumentWriter::render(data);
}

}  // namespace

TEST(TrackDocument, ARecordingWithoutSamplesHasOnlyItsLength) {
    EXPECT_EQ(repairedDocument(12.5, {}), golden("empty.kml"));
}

TEST(TrackDocument, SouthernAndWesternFixesOverTheYearEnd) {
    std::vector<GPX_SAMPLE> s = {
        fix(0, 0, 0, 0, 0, 1.0),  // before the first fix: takes its position
        fix(1, -33.86882, -151.20929, 270.5, 2.0, 0.5),
        fix(0, 0, 0, 0, 0, 1.25),  // a gap: holds the last position
        fix(1, -33.868821, -151.209291, 7, 36.0, 1.0),
    };
    s[1].nYear = 2012;
    s[1].nMonth = 12;
    s[1].nDay = 31;
    s[1].nHour = 23;
    s[1].nMinute = 59;
    s[1].nSecond = 58;
    EXPECT_EQ(repairedDocument(4.0, s), golden("southwest-year-end.kml"));
}

TEST(TrackDocument, ARecordingWithoutAnyFix) {
    std::vector<GPX_SAMPLE> s = {fix(0, 1.5, 2.5, 0, 0, 1.0), fix(0, 0, 0, 0, 0, 1.0),
                                 fix(0, 0, 0, 0, 0, 1.0)};
    EXPECT_EQ(repairedDocument(3.0, s), golden("no-fix.kml"));
}

TEST(TrackDocument, EndsLinesAsAWindowsTextStreamDoes) {
    std::vector<GPX_SAMPLE> s = {fix(1, 0.5, 2.0, 7, 0, 1.0)};
    s[0].nYear = 2020;
    s[0].nMonth = 7;
    s[0].nDay = 7;
    std::string doc = repairedDocument(1.0, s);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t lf = doc.find('\n'); lf != std::string::npos; lf = doc.find('\n', start)) {
        lines.push_back(doc.substr(start, lf + 1 - start));
        start = lf + 1;
    }
    EXPECT_EQ(start, doc.size());  // the document ends with a line end
    ASSERT_EQ(lines.size(), 3u + 17u + 1u);
    auto endsWith = [](const std::string& l, const std::string& tail) {
        return l.size() >= tail.size() && l.compare(l.size() - tail.size(), tail.size(), tail) == 0;
    };
    for (const std::string& l : lines) {
        bool isField = l.find("</") != std::string::npos && l.find("\t<") != std::string::npos &&
                       l.find("gpsinfo") == std::string::npos;
        bool isDuration = l.starts_with("<Duration>");
        if (isField || isDuration) {
            EXPECT_TRUE(endsWith(l, "\r\r\n")) << l;
        } else {
            EXPECT_TRUE(endsWith(l, ">\r\n")) << l;
        }
    }
    EXPECT_NE(doc.find("\t\t<Latitude>0.500000</Latitude>"), std::string::npos);
    EXPECT_NE(doc.find("\t\t<Longitude>2.000000</Longitude>"), std::string::npos);
    EXPECT_NE(doc.find("\t\t<utc_Month>7</utc_Month>"), std::string::npos);
    EXPECT_NE(doc.find("\t\t<Angle>7.000000</Angle>"), std::string::npos);
}

TEST(TrackDocument, WritesFloatsExactlyAsPrintfDoes) {
    // Ties at the seventh decimal go to even, as printf rounds the exact binary value.
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  2.0,
                                  -33.86882,
                                  151.209291,
                                  1.0 / 128,
                                  3.0 / 128,
                                  -1.0 / 128,
                                  1e-7,
                                  5e-7,
                                  4.9999999e-7,
                                  123456789.0625,
                                  1e300,
                                  -1e-300,
                                  0.1 + 0.2,
                                  359.9999995,
                                  36.0 * 1.852 / 1.852};
    uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        double unit = double(state >> 11) / double(uint64_t(1) << 53);
        values.push_back((unit - 0.5) * (i % 3 == 0 ? 360.0 : i % 3 == 1 ? 1e6 : 2e-3));
    }
    for (double v : values) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%f", v);
        EXPECT_EQ(TrackDocumentWriter::formatFloat(v), expected) << v;
    }
}

TEST(TrackDocument, IsWrittenWithThePermissionsTheUmaskGives) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("track-doc-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::string path = (folder / "output.kml").string();
    GPX_DATA data{1.0, nullptr, 0};
    mode_t old = umask(0);
    for (mode_t mask : {mode_t(022), mode_t(027), mode_t(077), mode_t(002)}) {
        umask(mask);
        ASSERT_TRUE(TrackDocumentWriter::writeFile(path, data));
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
    }
    umask(old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);  // no temporary left
    fs::remove_all(folder);
}
