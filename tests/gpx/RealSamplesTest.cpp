#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ByteWriter.h"
#include "CivilTime.h"
#include "ExifToolOracle.h"
#include "Extractor.h"
#include "MediaFile.h"
#include "TestMovie.h"

namespace fs = std::filesystem;
using gpx::CivilTime;
using gpx::Extractor;

// Real camera material from the shared samples folder, read in place.
namespace {

fs::path samples() {
    return fs::path(HARVENTIS_SAMPLES_DIR);
}

#define REQUIRE_SAMPLES()                                                   \
    if (!fs::exists(samples() / "README.txt")) {                            \
        GTEST_SKIP() << "the real camera samples are not at " << samples(); \
    }

std::vector<uint8_t> readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int64_t utcOf(const GPX_SAMPLE& s) {
    return CivilTime{s.nYear, s.nMonth, s.nDay, s.nHour, s.nMinute, s.nSecond}.toUnix();
}

// "2017:07:08 19:14:50.00Z" or "2017:04:17 19:27:57+00:00.52602" as whole UTC seconds.
int64_t exifSeconds(const std::string& t) {
    CivilTime c{std::stoi(t.substr(0, 4)),  std::stoi(t.substr(5, 2)),  std::stoi(t.substr(8, 2)),
                std::stoi(t.substr(11, 2)), std::stoi(t.substr(14, 2)), std::stoi(t.substr(17, 2))};
    return c.toUnix();
}

// The side files of a recording wrapped into a movie the way the camera stores them: a
// top-level free box holding the model, the start time, the NMEA log and the accelerometer.
struct WrappedSideFiles {
    std::vector<uint8_t> bytes;
    double duration = 0;
};

WrappedSideFiles wrap(const std::string& stem) {
    auto gps = readAll(samples() / "blackvue-sidecars" / (stem + ".gps"));
    auto acc = readAll(samples() / "blackvue-sidecars" / (stem + ".3gf"));
    // The file name is the local start time; the camera's stamps count on the same clock.
    CivilTime start{std::stoi(stem.substr(0, 4)),  std::stoi(stem.substr(4, 2)),
                    std::stoi(stem.substr(6, 2)),  std::stoi(stem.substr(9, 2)),
                    std::stoi(stem.substr(11, 2)), std::stoi(stem.substr(13, 2))};
    int64_t sttm = start.toUnix() * 1000;
    int64_t last = 0;
    std::string text(gps.begin(), gps.end());
    for (size_t p = text.find('['); p != std::string::npos; p = text.find('[', p + 1)) {
        last = std::max<int64_t>(last, std::stoll(text.substr(p + 1, 13)) - sttm);
    }
    for (size_t at = 0; at + 10 <= acc.size(); at += 10) {
        uint32_t ms = uint32_t(acc[at]) << 24 | uint32_t(acc[at + 1]) << 16 |
                      uint32_t(acc[at + 2]) << 8 | acc[at + 3];
        if (ms != 0xFFFFFFFF) {
            last = std::max<int64_t>(last, ms);
        }
    }
    auto payload = ByteWriter::concat(
        {ByteWriter::box(
             "cprt", ByteWriter().text(" Pittasoft Co., Ltd.;DR650S-2CH;1.000;English;1;").data()),
         ByteWriter::box("sttm", ByteWriter().be64(uint64_t(sttm)).data()),
         ByteWriter::box("gps ", gps), ByteWriter::box("3gf ", acc)});
    WrappedSideFiles w;
    w.duration = std::ceil(last / 1000.0);
    TestMovie m;
    m.addTopLevel(ByteWriter::box("free", payload)).durationSeconds(w.duration);
    w.bytes = m.build();
    return w;
}

Extractor::Result extractBytes(const std::vector<uint8_t>& bytes) {
    gpx::MediaFile file;
    file.openMemory(bytes);
    return Extractor::extract(file);
}

int validCount(const Extractor::Result& r) {
    int n = 0;
    for (const auto& s : r.samples) {
        n += s.nStatus == 1;
    }
    return n;
}

fs::path writeTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::path p = fs::temp_directory_path() / ("gpx-real-" + std::to_string(getpid()) + "-" + name);
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    return p;
}

}  // namespace

TEST(RealSamples, SideFileRecordingsKeepEveryGnssSecond) {
    REQUIRE_SAMPLES();
    struct Case {
        const char* stem;
        size_t records;
        int valid;          // seconds with a fix
        int firstValid;     // the record of the first fix, -1 for none
        const char* first;  // its UTC time
    };
    const Case cases[] = {
        {"20170708_221449_N", 47, 46, 1, "19:14:50"},
        // 105 fixes, two of them sharing their second with another; the first fix is
        // stamped 76.6 s into the recording but its GNSS time is 78 s after the start
        {"20170709_081815_N", 181, 103, 78, "05:19:33"},
        {"20170709_081342_N", 47, 0, -1, ""},
        {"20170709_080522_P", 180, 0, -1, ""},
        // starts with a fix 90 s stale, which is left out
        {"20170709_084737_E", 181, 128, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        auto w = wrap(c.stem);
        auto r = extractBytes(w.bytes);
        ASSERT_EQ(r.outcome, Extractor::Outcome::Extracted);
        EXPECT_EQ(r.samples.size(), c.records);
        EXPECT_EQ(validCount(r), c.valid);
        int first = -1;
        for (size_t i = 0; i < r.samples.size() && first < 0; ++i) {
            if (r.samples[i].nStatus == 1) {
                first = int(i);
            }
        }
        if (c.firstValid >= 0 && *c.first != 0) {
            EXPECT_EQ(first, c.firstValid);
            const GPX_SAMPLE& f = r.samples[size_t(first)];
            char hms[16];
            std::snprintf(hms, sizeof hms, "%02d:%02d:%02d", f.nHour, f.nMinute, f.nSecond);
            EXPECT_STREQ(hms, c.first);
        }
        if (c.valid == 0) {
            EXPECT_EQ(first, -1);
        }
    }
    // The event file's first fix is stamped 05:46:58 under a stamp of 05:48:27: stale.
    auto event = extractBytes(wrap("20170709_084737_E").bytes);
    for (const auto& s : event.samples) {
        EXPECT_FALSE(s.nStatus == 1 && s.nMinute == 46);
    }
}

TEST(RealSamples, ParkingRecordingHasTheGSensorWithoutGps) {
    REQUIRE_SAMPLES();
    auto r = extractBytes(wrap("20170709_080522_P").bytes);
    ASSERT_EQ(r.samples.size(), 180u);
    // At rest the sensor reads about 130 counts: a little over one g at 128 a g.
    for (const auto& s : r.samples) {
        EXPECT_EQ(s.nStatus, 0);
        EXPECT_GT(s.dGSum, 0.95);
        EXPECT_LT(s.dGSum, 1.3);
        EXPECT_NEAR(s.dGSum, std::sqrt(s.dGx * s.dGx + s.dGy * s.dGy + s.dGz * s.dGz), 1e-12);
    }
}

TEST(RealSamples, SideFileRecordingsAgreeWithExifTool) {
    REQUIRE_SAMPLES();
    for (const char* stem : {"20170708_221449_N", "20170709_081815_N", "20170709_084737_E"}) {
        SCOPED_TRACE(stem);
        auto w = wrap(stem);
        auto r = extractBytes(w.bytes);
        fs::path file = writeTemp(std::string(stem) + ".mp4", w.bytes);
        auto oracle = ExifToolOracle::run(file.string());
        fs::remove(file);
        ASSERT_TRUE(oracle) << "exiftool did not run";

        std::map<int64_t, const GPX_SAMPLE*> bySecond;
        for (const auto& s : r.samples) {
            if (s.nStatus == 1) {
                bySecond[utcOf(s)] = &s;
            }
        }
        std::map<int64_t, bool> seen;
        std::map<int64_t, double> peak;  // second -> largest |a| exiftool shows
        std::map<int64_t, std::vector<double>> peakAxes;
        int compared = 0;
        for (const auto& d : oracle->documents()) {
            if (auto t = ExifToolOracle::text(d, "GPSDateTime");
                t && ExifToolOracle::number(d, "GPSLatitude")) {
                int64_t sec = exifSeconds(*t);
                if (seen[sec]) {
                    continue;  // a second fix in the same second: ours keeps the first
                }
                seen[sec] = true;
                auto it = bySecond.find(sec);
                if (it == bySecond.end()) {
                    // only the stale fix of the event file is left out
                    EXPECT_STREQ(stem, "20170709_084737_E");
                    continue;
                }
                EXPECT_NEAR(it->second->dLatitude, *ExifToolOracle::number(d, "GPSLatitude"), 1e-9);
                EXPECT_NEAR(it->second->dLongitude, *ExifToolOracle::number(d, "GPSLongitude"),
                            1e-9);
                EXPECT_NEAR(it->second->dSpeed, *ExifToolOracle::number(d, "GPSSpeed"), 1e-6);
                if (auto track = ExifToolOracle::number(d, "GPSTrack")) {
                    EXPECT_NEAR(it->second->dAngle, *track, 1e-9);
                }
                ++compared;
            }
            auto code = ExifToolOracle::number(d, "TimeCode");
            auto acc = ExifToolOracle::text(d, "Accelerometer");
            if (code && acc) {
                std::istringstream in(*acc);
                double x = 0, y = 0, z = 0;
                in >> x >> y >> z;
                int64_t sec = int64_t(std::floor(*code + 1e-6));
                double m = x * x + y * y + z * z;
                if (!peak.count(sec) || m > peak[sec]) {
                    peak[sec] = m;
                    peakAxes[sec] = {x, y, z};
                }
            }
        }
        EXPECT_EQ(compared, int(bySecond.size()));
        // exiftool shows the raw counts divided by ten; we keep g at 128 counts a g.
        ASSERT_FALSE(peak.empty());
        for (const auto& [sec, axes] : peakAxes) {
            if (sec >= int64_t(r.samples.size())) {
                continue;
            }
            const GPX_SAMPLE& s = r.samples[size_t(sec)];
            EXPECT_NEAR(s.dGx * 12.8, axes[0], 1e-9) << sec;
            EXPECT_NEAR(s.dGy * 12.8, axes[1], 1e-9) << sec;
            EXPECT_NEAR(s.dGz * 12.8, axes[2], 1e-9) << sec;
        }
    }
}

TEST(RealSamples, TelemetryRecordingsAgreeWithExifTool) {
    REQUIRE_SAMPLES();
    struct Case {
        const char* file;
        size_t records;
        bool drone;  // fused position with velocities and heading
    };
    for (Case c : {Case{"gopro-karma.mp4", 12, true}, Case{"gopro-max-heromode.mp4", 11, false}}) {
        SCOPED_TRACE(c.file);
        fs::path path = samples() / c.file;
        auto r = Extractor::extract(path.string());
        ASSERT_EQ(r.outcome, Extractor::Outcome::Extracted);
        ASSERT_EQ(r.samples.size(), c.records);
        EXPECT_EQ(validCount(r), int(c.records));
        auto oracle = ExifToolOracle::run(path.string());
        ASSERT_TRUE(oracle);
        // One document per telemetry sample, a second each: ours takes its first fix.
        size_t k = 0;
        for (const auto& d : oracle->documents()) {
            auto lat = ExifToolOracle::number(d, "GPSLatitude");
            if (!lat || k >= r.samples.size()) {
                continue;
            }
            const GPX_SAMPLE& s = r.samples[k++];
            EXPECT_NEAR(s.dLatitude, *lat, 1e-7) << k;
            EXPECT_NEAR(s.dLongitude, *ExifToolOracle::number(d, "GPSLongitude"), 1e-7) << k;
            EXPECT_EQ(utcOf(s), exifSeconds(*ExifToolOracle::text(d, "GPSDateTime"))) << k;
            if (c.drone) {
                double vx = *ExifToolOracle::number(d, "GPSSpeedX");
                double vy = *ExifToolOracle::number(d, "GPSSpeedY");
                EXPECT_NEAR(s.dSpeed, std::hypot(vx, vy) * 3.6, 1e-6) << k;
                EXPECT_NEAR(s.dAngle, *ExifToolOracle::number(d, "GPSTrack"), 1e-9) << k;
            } else {
                EXPECT_NEAR(s.dSpeed, *ExifToolOracle::number(d, "GPSSpeed") * 3.6, 1e-6) << k;
            }
        }
        EXPECT_EQ(k, c.records);
    }
}
