#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Bytes.h"
#include "CivilTime.h"
#include "Extractor.h"
#include "MediaFile.h"
#include "MovieReader.h"

namespace fs = std::filesystem;

// Recordings in the block layouts, made by make-recording and read back: the look-alikes of
// the classic record, blocks found without index or movie, and indexes whose 32-bit offsets
// wrapped in a recording past 4 GiB.
namespace {

struct Second {
    char fix;
    double lat = 0, lon = 0, kmh = 0, heading = 0, gz = 0;
};

// South and east, a skipped second right before a bump of 1.8 g, void seconds on both sides.
const Second kDrive[] = {
    {'V', 0, 0, 0, 0, 1.00},
    {'A', -29.790000, 30.890000, 36.0, 45.0, 0.98},
    {'A', -29.789900, 30.890100, 38.5, 46.0, 1.02},
    {'S'},
    {'A', -29.789700, 30.890300, 41.0, 47.5, 1.80},
    {'V', 0, 0, 0, 0, 1.05},
    {'A', -29.789400, 30.890600, 39.0, 359.0, 0.97},
};
constexpr size_t kSeconds = std::size(kDrive);
const int64_t kStart = gpx::CivilTime{2020, 6, 30, 8, 0, 0}.toUnix();

class NovatekRecording : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("gpx-novatek-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        std::ofstream route(folder_ / "route.txt");
        route << "start 2020-06-30T08:00:00Z\n";
        for (const Second& s : kDrive) {
            route << s.fix;
            if (s.fix != 'S') {
                route << ' ' << s.lat << ' ' << s.lon << ' ' << s.kmh << ' ' << s.heading
                      << " 0.01 -0.02 " << s.gz;
            }
            route << '\n';
        }
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static fs::path make(const std::string& layout, const std::string& options) {
        fs::path out = folder_ / (layout + std::to_string(std::hash<std::string>()(options)));
        std::string cmd = std::string("'") + HARVENTIS_MAKE_RECORDING + "' --layout " + layout +
                          " --route '" + (folder_ / "route.txt").string() + "' " + options +
                          " --out '" + out.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        return out;
    }

    static fs::path folder_;
};
fs::path NovatekRecording::folder_;

struct Case {
    const char* layout;
    const char* options;
    double degrees, kmh;  // how precisely the layout stores them
    bool heading, g;      // whether it stores them
};

// The drive read back: fixes where it had them, G with its own second, and from the
// headers, the index and the blocks alone where the file is huge.
void expectDrive(const Case& c, const fs::path& path, bool huge) {
    gpx::MediaFile file;
    ASSERT_EQ(file.open(path.string()), 0);
    auto r = gpx::Extractor::extract(file);
    ASSERT_EQ(r.samples.size(), kSeconds);
    for (size_t i = 0; i < kSeconds; ++i) {
        SCOPED_TRACE("second " + std::to_string(i));
        const Second& want = kDrive[i];
        const GPX_SAMPLE& got = r.samples[i];
        ASSERT_EQ(got.nStatus, want.fix == 'A' ? 1 : 0);
        if (want.fix == 'A') {
            EXPECT_NEAR(got.dLatitude, want.lat, c.degrees);
            EXPECT_NEAR(got.dLongitude, want.lon, c.degrees);
            EXPECT_NEAR(got.dSpeed, want.kmh, c.kmh);
            EXPECT_NEAR(got.dAngle, c.heading ? want.heading : 0.0, 1e-3);
            EXPECT_EQ(gpx::CivilTime(
                          {got.nYear, got.nMonth, got.nDay, got.nHour, got.nMinute, got.nSecond})
                          .toUnix(),
                      kStart + int64_t(i));
        }
        EXPECT_NEAR(got.dGz, c.g && want.fix != 'S' ? want.gz : 0.0, 1.0 / 256);
    }
    if (huge) {
        EXPECT_LT(file.bytesRead(), uint64_t(1) << 20);
    }
}

class Layouts : public NovatekRecording, public ::testing::WithParamInterface<Case> {};

const Case kCases[] = {
    {"novatek-scaled", "", 1e-4, 0.01, true, false},
    {"novatek-scaled", "--truncate", 1e-4, 0.01, true, false},
    {"novatek-decimal", "", 1e-5, 0.01, true, false},
    {"novatek-iqs", "", 1e-6, 0.02, false, false},
    {"novatek-a119", "--no-index", 2e-5, 0.01, true, true},
    {"novatek-a119", "--truncate", 2e-5, 0.01, true, true},
    // Every index offset wrapped: the blocks lie past 4 GiB of media data.
    {"novatek-a119", "--pad 4G", 2e-5, 0.01, true, true},
};

}  // namespace

TEST_P(Layouts, ReadBackTheDrive) {
    const Case& c = GetParam();
    fs::path path = make(c.layout, c.options);
    expectDrive(c, path, std::string(c.options).starts_with("--pad"));
    fs::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Novatek, Layouts, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& p) {
                             std::string n = std::string(p.param.layout) + p.param.options;
                             for (char& ch : n) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return n;
                         });

TEST_F(NovatekRecording, FollowsTheIndexWhereItsOffsetsWrapHalfWay) {
    // Where the blocks start without padding tells how much puts the 4 GiB line after the
    // third of them (the media box header grows by 8 bytes past 4 GiB).
    fs::path plain = make("novatek-a119", "");
    gpx::MediaFile file;
    ASSERT_EQ(file.open(plain.string()), 0);
    gpx::MovieInfo movie = gpx::MovieReader::read(file);
    ASSERT_TRUE(movie.novatekIndex);
    uint64_t first = gpx::bytes::be32(file.bytes(movie.novatekIndex->payload + 8, 4), 0);
    uint64_t pad = (uint64_t(1) << 32) - 3 * 0x400 + 0x100 - first;
    expectDrive({"novatek-a119", "", 2e-5, 0.01, true, true},
                make("novatek-a119", "--pad " + std::to_string(pad)), true);
}
