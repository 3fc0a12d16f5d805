#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "CivilTime.h"
#include "ExifToolOracle.h"
#include "Extractor.h"
#include "MediaFile.h"

namespace fs = std::filesystem;
using gpx::CivilTime;
using gpx::Extractor;

// Recordings made by make-recording in every camera layout, read back and compared with the
// route they were made from and with exiftool.
namespace {

struct RouteSecond {
    char fix = 'S';
    double lat = 0, lon = 0, kmh = 0, heading = 0, gx = 0, gy = 0, gz = 0;
};

// Crosses the year end, both hemispheres, a void run, a second the camera skipped and an
// impact of almost two g.
const char* kRoute = R"(start 2012-12-31T23:59:55Z
zone -03:00
V 0 0 0 0 0.01 -0.02 1.00
A -34.603723 -58.381592 0.0 0.0 0.00 0.01 1.00
A -34.603810 -58.381480 12.5 135.0 0.02 0.05 0.99
A -34.603950 -58.381300 25.0 140.5 -0.10 0.20 1.02
V 0 0 0 0 0.03 0.02 0.98
S
A -34.604400 -58.380700 48.0 150.0 1.20 -1.40 0.30
A -34.604700 -58.380400 61.2 172.3 0.05 0.02 1.00
A -34.605100 -58.380200 55.0 181.0 0.00 -0.30 1.10
A -34.605500 -58.380100 40.0 359.5 0.01 0.00 1.00
)";

std::vector<RouteSecond> parseRoute(const std::string& text) {
    std::vector<RouteSecond> seconds;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream l(line);
        std::string first;
        l >> first;
        if (first == "A" || first == "V" || first == "S") {
            RouteSecond s;
            s.fix = first[0];
            l >> s.lat >> s.lon >> s.kmh >> s.heading >> s.gx >> s.gy >> s.gz;
            seconds.push_back(s);
        }
    }
    return seconds;
}

const int64_t kStart = CivilTime{2012, 12, 31, 23, 59, 55}.toUnix();

fs::path workFolder() {
    fs::path p = fs::temp_directory_path() / ("gpx-recordings-" + std::to_string(getpid()));
    fs::create_directories(p);
    return p;
}

fs::path routeFile() {
    fs::path p = workFolder() / "route.txt";
    if (!fs::exists(p)) {
        std::ofstream(p) << kRoute;
    }
    return p;
}

// Makes a recording once per layout and option set.
fs::path make(const std::string& layout, const std::string& options = "") {
    std::string name = layout + options;
    for (char& c : name) {
        if (c == ' ' || c == '-') {
            c = '_';
        }
    }
    fs::path out = workFolder() / (name + ".mp4");
    if (!fs::exists(out)) {
        std::string cmd = std::string("'") + HARVENTIS_MAKE_RECORDING + "' --layout " + layout +
                          " --route '" + routeFile().string() + "' " + options + " --out '" +
                          out.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    return out;
}

int64_t utcOf(const GPX_SAMPLE& s) {
    return CivilTime{s.nYear, s.nMonth, s.nDay, s.nHour, s.nMinute, s.nSecond}.toUnix();
}

// How precisely each layout stores its values, and what it stores at all.
struct Layout {
    const char* name;
    double degrees;    // position
    double kmh;        // speed
    double heading;    // < 0: not stored
    double g;          // < 0: no G-sensor
    bool gWithoutFix;  // the sensor reports in void seconds too
};

const Layout kLayouts[] = {
    {"novatek", 2e-5, 0.01, 1e-3, -1, false},
    {"novatek-a119", 2e-5, 0.01, 1e-3, 1.0 / 256, true},
    {"nmea-text", 2e-7, 0.01, 0.01, -1, false},
    {"nmea-sbtl", 2e-7, 0.01, 0.01, -1, false},
    {"thinkware", 2e-7, 0.01, 0.01, 1.0 / 512, true},
    {"blackvue", 2e-7, 0.01, 0.01, 1.0 / 128, true},
    {"70mai", 2e-5, 0.001, -1, -1, false},
    {"gopro", 2e-7, 0.01, -1, 0.005, true},
};

void expectMatchesRoute(const Layout& layout, const Extractor::Result& r) {
    auto route = parseRoute(kRoute);
    ASSERT_EQ(r.outcome, Extractor::Outcome::Extracted);
    EXPECT_DOUBLE_EQ(r.duration, double(route.size()));
    ASSERT_EQ(r.samples.size(), route.size());
    for (size_t i = 0; i < route.size(); ++i) {
        SCOPED_TRACE("second " + std::to_string(i));
        const RouteSecond& want = route[i];
        const GPX_SAMPLE& got = r.samples[i];
        EXPECT_EQ(got.nStatus, want.fix == 'A' ? 1 : 0);
        if (want.fix == 'A') {
            EXPECT_NEAR(got.dLatitude, want.lat, layout.degrees);
            EXPECT_NEAR(got.dLongitude, want.lon, layout.degrees);
            EXPECT_NEAR(got.dSpeed, want.kmh, layout.kmh);
            if (layout.heading > 0) {
                EXPECT_NEAR(got.dAngle, want.heading, layout.heading);
            }
            EXPECT_EQ(utcOf(got), kStart + int64_t(i));
        }
        bool sensor = layout.g > 0 && (want.fix == 'A' || (want.fix == 'V' && layout.gWithoutFix));
        if (sensor) {
            EXPECT_NEAR(got.dGx, want.gx, layout.g);
            EXPECT_NEAR(got.dGy, want.gy, layout.g);
            EXPECT_NEAR(got.dGz, want.gz, layout.g);
            EXPECT_NEAR(got.dGSum,
                        std::sqrt(got.dGx * got.dGx + got.dGy * got.dGy + got.dGz * got.dGz),
                        1e-12);
        } else {
            EXPECT_EQ(got.dGSum, 0.0);
        }
    }
}

class EveryLayout : public ::testing::TestWithParam<Layout> {};

}  // namespace

TEST_P(EveryLayout, ReadsBackTheRouteItWasMadeFrom) {
    expectMatchesRoute(GetParam(), Extractor::extract(make(GetParam().name).string()));
}

TEST_P(EveryLayout, ReadsTheSameWhateverTheFileLayout) {
    for (const char* options : {"--moov-first", "--large-mdat --co64"}) {
        SCOPED_TRACE(options);
        expectMatchesRoute(GetParam(), Extractor::extract(make(GetParam().name, options).string()));
    }
}

INSTANTIATE_TEST_SUITE_P(Recordings, EveryLayout, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& p) {
                             std::string n = p.param.name;
                             for (char& c : n) {
                                 if (c == '-') {
                                     c = '_';
                                 }
                             }
                             return n;
                         });

TEST(Recordings, APlainRecordingHasNoSamplesButItsLength) {
    auto r = Extractor::extract(make("none").string());
    ASSERT_EQ(r.outcome, Extractor::Outcome::Extracted);
    EXPECT_TRUE(r.samples.empty());
    EXPECT_DOUBLE_EQ(r.duration, double(parseRoute(kRoute).size()));
}

TEST(Recordings, IndexBlocksAreFoundWithoutTheIndexOrTheMovie) {
    // Without the index the blocks are found by scanning; void blocks are still there, but
    // the second the camera skipped leaves no trace, so the fix after it is placed by its
    // GNSS time.
    for (const char* options : {"--no-index", "--truncate"}) {
        SCOPED_TRACE(options);
        auto r = Extractor::extract(make("novatek-a119", options).string());
        ASSERT_EQ(r.outcome, Extractor::Outcome::Extracted);
        auto route = parseRoute(kRoute);
        ASSERT_EQ(r.samples.size(), route.size());
        for (size_t i = 0; i < route.size(); ++i) {
            EXPECT_EQ(r.samples[i].nStatus, route[i].fix == 'A' ? 1 : 0) << i;
            if (route[i].fix == 'A') {
                EXPECT_EQ(utcOf(r.samples[i]), kStart + int64_t(i)) << i;
                EXPECT_NEAR(r.samples[i].dLatitude, route[i].lat, 2e-5) << i;
            }
        }
    }
}

TEST(Recordings, AHugeRecordingIsReadByItsHeadersAlone) {
    // 4 GiB of media data after the blocks, sparse on disk: the movie header, its 64-bit
    // media box and the index are all the extractor reads.
    fs::path file = make("novatek", "--pad 4G --pad-after");
    ASSERT_GT(fs::file_size(file), uint64_t(4) << 30);
    gpx::MediaFile media;
    ASSERT_EQ(media.open(file.string()), 0);
    auto r = Extractor::extract(media);
    expectMatchesRoute(kLayouts[0], r);
    EXPECT_LT(media.bytesRead(), uint64_t(1) << 20);
    fs::remove(file);
}

TEST(Recordings, AgreeWithExifToolWhereItReadsTheLayout) {
    for (const char* layout : {"novatek", "novatek-a119", "nmea-text", "blackvue", "gopro"}) {
        SCOPED_TRACE(layout);
        fs::path file = make(layout);
        auto r = Extractor::extract(file.string());
        auto oracle = ExifToolOracle::run(file.string());
        ASSERT_TRUE(oracle);
        std::map<int64_t, const GPX_SAMPLE*> bySecond;
        for (const auto& s : r.samples) {
            if (s.nStatus == 1) {
                bySecond[utcOf(s)] = &s;
            }
        }
        int compared = 0;
        for (const auto& d : oracle->documents()) {
            auto lat = ExifToolOracle::number(d, "GPSLatitude");
            auto when = ExifToolOracle::text(d, "GPSDateTime");
            auto lon = ExifToolOracle::number(d, "GPSLongitude");
            if (!lat || !lon || !when || (*lat == 0.0 && *lon == 0.0)) {
                continue;  // no fix: exiftool shows some of those as 0, 0
            }
            const std::string& t = *when;
            int64_t sec = CivilTime{std::stoi(t.substr(0, 4)),  std::stoi(t.substr(5, 2)),
                                    std::stoi(t.substr(8, 2)),  std::stoi(t.substr(11, 2)),
                                    std::stoi(t.substr(14, 2)), std::stoi(t.substr(17, 2))}
                              .toUnix();
            auto it = bySecond.find(sec);
            ASSERT_NE(it, bySecond.end()) << t;
            // exiftool prints 15 significant digits of the same stored values.
            EXPECT_NEAR(it->second->dLatitude, *lat, 1e-9) << t;
            EXPECT_NEAR(it->second->dLongitude, *ExifToolOracle::number(d, "GPSLongitude"), 1e-9)
                << t;
            if (auto speed = ExifToolOracle::number(d, "GPSSpeed");
                speed && std::string(layout) != "gopro") {
                EXPECT_NEAR(it->second->dSpeed, *speed, 1e-6) << t;
            }
            ++compared;
        }
        EXPECT_EQ(compared, int(bySecond.size()));
    }
}
