#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BlackVueLayout.h"
#include "GoProLayout.h"
#include "Nmea.h"
#include "Options.h"
#include "Prng.h"
#include "RecordingMaker.h"
#include "Route.h"
#include "RouteError.h"
#include "RouteSynthesizer.h"
#include "SensorBurst.h"
#include "ToolError.h"

namespace makerec {
namespace {

namespace fs = std::filesystem;

// Seconds: A, V, S, A, A. Zone +03:00 for the layouts that keep the camera's clock.
const std::string kRouteHead = "start 2020-01-01T11:59:58Z\nzone +03:00\n";
const std::string kRouteSeconds =
    "A -34.603723 -58.381592 36.0 90.0 0.02 -0.05 1.00\n"
    "V 0 0 0 0 0.01 0.00 1.00\n"
    "S\n"
    "A -34.603723 -58.381392 37.5 91.0 0.10 -0.05 1.80\n"
    "A -34.603700 -58.381192 38.0 92.0 0.00 0.00 1.00\n";
const std::string kRoute = kRouteHead + kRouteSeconds;
constexpr int64_t kStartUnix = 1577879998;  // 2020-01-01T11:59:58Z
constexpr int64_t kMovieEpoch = 2082844800;

// ---- Reading recordings back with nothing but the box rules -----------------------------

struct Box {
    std::string type;
    uint64_t start = 0;
    uint64_t payload = 0;
    uint64_t end = 0;
    uint64_t declared = 0;  // the size field as written (0 and 1 included)
};

class MovieFile {
  public:
    explicit MovieFile(const std::string& path)
        : in_(path, std::ios::binary), size_(fs::file_size(path)) {}

    uint64_t size() const { return size_; }

    std::string bytes(uint64_t at, uint64_t count) {
        if (at + count > size_) {
            ADD_FAILURE() << "read of " << count << " bytes at " << at << " beyond the file";
            return std::string(count, '\0');
        }
        std::string out(count, '\0');
        in_.seekg(static_cast<std::streamoff>(at));
        in_.read(out.data(), static_cast<std::streamsize>(count));
        return out;
    }
    uint64_t be(uint64_t at, int width) {
        uint64_t v = 0;
        for (unsigned char c : bytes(at, static_cast<uint64_t>(width))) {
            v = (v << 8) | c;
        }
        return v;
    }
    uint32_t u32(uint64_t at) { return static_cast<uint32_t>(be(at, 4)); }
    uint64_t u64(uint64_t at) { return be(at, 8); }
    uint32_t le32(uint64_t at) {
        const std::string b = bytes(at, 4);
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) {
            v = (v << 8) | static_cast<unsigned char>(b[static_cast<size_t>(i)]);
        }
        return v;
    }
    float f32(uint64_t at) { return std::bit_cast<float>(le32(at)); }

    std::vector<Box> boxes(uint64_t begin, uint64_t end) {
        std::vector<Box> out;
        uint64_t pos = begin;
        while (pos + 8 <= end) {
            Box b;
            b.declared = u32(pos);
            b.type = bytes(pos + 4, 4);
            uint64_t size = b.declared;
            uint64_t header = 8;
            if (size == 1) {
                size = u64(pos + 8);
                header = 16;
            } else if (size == 0) {
                size = end - pos;
            }
            if (size < header || pos + size > end) {
                ADD_FAILURE() << "box '" << b.type << "' at " << pos << " does not fit";
                break;
            }
            b.start = pos;
            b.payload = pos + header;
            b.end = pos + size;
            out.push_back(b);
            pos = b.end;
        }
        EXPECT_EQ(pos, end) << "boxes do not fill their container";
        return out;
    }
    std::vector<Box> top() { return boxes(0, size_); }
    std::vector<Box> children(const Box& b) { return boxes(b.payload, b.end); }

    // The first box along a path of types below parent; fails the test when absent.
    Box at(const Box& parent, std::initializer_list<const char*> path) {
        Box b = parent;
        for (const char* type : path) {
            const std::vector<Box> kids = children(b);
            const auto found = std::find_if(kids.begin(), kids.end(),
                                            [&](const Box& k) { return k.type == type; });
            if (found == kids.end()) {
                ADD_FAILURE() << "no '" << type << "' in '" << b.type << "'";
                return b;
            }
            b = *found;
        }
        return b;
    }
    Box topBox(const std::string& type) {
        for (const Box& b : top()) {
            if (b.type == type) {
                return b;
            }
        }
        ADD_FAILURE() << "no top-level '" << type << "'";
        return {};
    }
    std::vector<Box> tracks() {
        std::vector<Box> out;
        for (const Box& b : children(topBox("moov"))) {
            if (b.type == "trak") {
                out.push_back(b);
            }
        }
        return out;
    }
    std::string handler(const Box& trak) {
        return bytes(at(trak, {"mdia", "hdlr"}).payload + 8, 4);
    }
    std::string sampleEntry(const Box& trak) {
        return bytes(at(trak, {"mdia", "minf", "stbl", "stsd"}).payload + 12, 4);
    }
    Box trackWithHandler(const std::string& type) {
        for (const Box& t : tracks()) {
            if (handler(t) == type) {
                return t;
            }
        }
        ADD_FAILURE() << "no track with handler '" << type << "'";
        return {};
    }
    std::vector<uint64_t> chunkOffsets(const Box& trak) {
        const Box stbl = at(trak, {"mdia", "minf", "stbl"});
        for (const Box& b : children(stbl)) {
            if (b.type == "stco" || b.type == "co64") {
                const int width = b.type == "co64" ? 8 : 4;
                std::vector<uint64_t> offsets(u32(b.payload + 4));
                for (size_t i = 0; i < offsets.size(); ++i) {
                    offsets[i] = be(b.payload + 8 + i * static_cast<uint64_t>(width), width);
                }
                return offsets;
            }
        }
        ADD_FAILURE() << "track without chunk offsets";
        return {};
    }
    std::vector<uint32_t> sampleSizes(const Box& trak) {
        const Box stsz = at(trak, {"mdia", "minf", "stbl", "stsz"});
        std::vector<uint32_t> sizes(u32(stsz.payload + 8));
        for (size_t i = 0; i < sizes.size(); ++i) {
            sizes[i] = u32(stsz.payload + 12 + 4 * i);
        }
        return sizes;
    }
    // The tool writes one sample per chunk in the tracks it adds.
    std::vector<std::string> samples(const Box& trak) {
        const std::vector<uint64_t> offsets = chunkOffsets(trak);
        const std::vector<uint32_t> sizes = sampleSizes(trak);
        EXPECT_EQ(offsets.size(), sizes.size());
        std::vector<std::string> out;
        for (size_t i = 0; i < std::min(offsets.size(), sizes.size()); ++i) {
            out.push_back(bytes(offsets[i], sizes[i]));
        }
        return out;
    }

  private:
    std::ifstream in_;
    uint64_t size_;
};

std::vector<std::string> typesOf(const std::vector<Box>& boxes) {
    std::vector<std::string> types;
    for (const Box& b : boxes) {
        types.push_back(b.type);
    }
    return types;
}

uint32_t be32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    }
    return v;
}

int16_t be16s(const std::string& s, size_t at) {
    return static_cast<int16_t>((static_cast<unsigned char>(s[at]) << 8) |
                                static_cast<unsigned char>(s[at + 1]));
}

// "$body*hh" or "body*hh": whether hh is the XOR of the body.
bool checksumHolds(std::string sentence) {
    if (!sentence.empty() && sentence.front() == '$') {
        sentence.erase(0, 1);
    }
    const size_t star = sentence.rfind('*');
    if (star == std::string::npos || star + 3 != sentence.size()) {
        return false;
    }
    unsigned sum = 0;
    for (size_t i = 0; i < star; ++i) {
        sum ^= static_cast<unsigned char>(sentence[i]);
    }
    return std::stoul(sentence.substr(star + 1), nullptr, 16) == sum;
}

std::vector<std::string> splitOn(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t next = text.find(separator, pos);
        if (next == std::string::npos) {
            parts.push_back(text.substr(pos));
            break;
        }
        parts.push_back(text.substr(pos, next - pos));
        pos = next + separator.size();
    }
    return parts;
}

// ---- Scratch space and running the tool ----------------------------------------------------

class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "make-recording-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchDir() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(path_)) {
            out.push_back(entry.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

  private:
    fs::path path_;
};

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class RecordingTest : public ::testing::Test {
  protected:
    // Makes OUT from the test route (or routeText) in layout with extra options.
    std::string make(const std::string& layout, std::vector<std::string> extra = {},
                     const std::string& routeText = kRoute) {
        const std::string route = scratch_.file("route-" + std::to_string(++made_) + ".txt");
        const std::string out = scratch_.file("out-" + std::to_string(made_) + ".mp4");
        writeText(route, routeText);
        std::vector<std::string> args = {"--layout", layout, "--route", route, "--out", out};
        args.insert(args.end(), extra.begin(), extra.end());
        RecordingMaker(Options::parse(args)).make();
        return out;
    }

    ScratchDir scratch_;
    int made_ = 0;
};

// ---- Route description ---------------------------------------------------------------------

TEST(RouteTest, ReadsEveryKindOfLine) {
    const Route route = Route::parse(
        "# a comment line\r\n"
        "start 2021-06-30T23:59:59Z   # trailing comment\r\n"
        "\n"
        "zone -05:30\n"
        "model DR750X Plus\n"
        "A -34.5 +58.25 12.5 359.5 0.1 -0.2 1.3\n"
        "V 9 9 9 9 0 0 1\n"
        "S\n",
        "route.txt");
    EXPECT_EQ(route.start().iso(), "2021-06-30T23:59:59Z");
    EXPECT_EQ(route.zoneMinutes(), -330);
    EXPECT_EQ(route.model(), "DR750X Plus");
    ASSERT_EQ(route.length(), 3u);

    const RouteSecond& a = route.seconds()[0];
    EXPECT_EQ(a.fix, RouteSecond::Fix::Valid);
    EXPECT_DOUBLE_EQ(a.latitude, -34.5);
    EXPECT_DOUBLE_EQ(a.longitude, 58.25);
    EXPECT_DOUBLE_EQ(a.speedKmh, 12.5);
    EXPECT_DOUBLE_EQ(a.heading, 359.5);
    EXPECT_DOUBLE_EQ(a.gz, 1.3);
    // A void second keeps its G but not the position it was given.
    const RouteSecond& v = route.seconds()[1];
    EXPECT_EQ(v.fix, RouteSecond::Fix::Void);
    EXPECT_EQ(v.latitude, 0);
    EXPECT_DOUBLE_EQ(v.gz, 1.0);
    EXPECT_EQ(route.seconds()[2].fix, RouteSecond::Fix::Silent);

    // The wall clock crosses midnight backwards with a negative zone.
    EXPECT_EQ(route.localAt(0).iso(), "2021-06-30T18:29:59Z");
    EXPECT_EQ(route.utcAt(1).iso(), "2021-07-01T00:00:00Z");
}

struct BadRoute {
    std::string text;
    int line;
    std::string says;
};

TEST(RouteTest, RejectsMalformedRoutesNamingTheLine) {
    const std::string start = "start 2020-01-01T11:59:58Z\n";
    const std::vector<BadRoute> cases = {
        {start + "A 1 2 3\n", 2, "got 4 fields"},
        {start + "\n# gap\nA -34.6 x 0 0 0 0 1\n", 4, "longitude 'x' is not a number"},
        {start + "S\nA -95 0 0 0 0 0 1\n", 3, "latitude -95 is outside -90..90"},
        {start + "A 0 181 0 0 0 0 1\n", 2, "longitude 181 is outside"},
        {start + "A 0 0 -1 0 0 0 1\n", 2, "speed -1 is outside"},
        {start + "A 0 0 0 361 0 0 1\n", 2, "heading 361 is outside"},
        {start + "V 0 0 0 0 0 0 8.5\n", 2, "gz 8.5 is outside"},
        {start + "V 0 0 0 0 nan 0 1\n", 2, "gx 'nan' is not a number"},
        {start + "S 1\n", 2, "an 'S' second takes no values"},
        {start + "B 1 2 3 4 5 6 7\n", 2, "unknown line 'B'"},
        {start + "S\nzone +01:00\n", 3, "'zone' must come before the first second"},
        {start + "zone 3\nS\n", 2, "zone '3' is not like +03:00"},
        {start + "zone +15:00\nS\n", 2, "zone '+15:00'"},
        {start + "model a;b\nS\n", 2, "model needs a text without ';'"},
        {start + start + "S\n", 2, "start given twice"},
        {"start 2020-01-01T11:59:58+03:00\nS\n", 1, "is not a UTC time"},
        {"start 2020-02-30T00:00:00Z\nS\n", 1, "is not a UTC time"},
        {"start 2020-01-01 11:59:58\nS\n", 1, "'start' takes one value"},
        {"start 1999-12-31T23:59:59Z\nS\n", 1, "between 2000 and 2039"},
        {"zone +01:00\nS\n", 0, "no 'start' line"},
        {start + "# only a comment\n", 0, "no seconds"},
    };
    for (const BadRoute& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            Route::parse(c.text, "route.txt");
            ADD_FAILURE() << "accepted";
        } catch (const RouteError& e) {
            EXPECT_EQ(e.line(), c.line);
            const std::string where =
                c.line > 0 ? "route.txt:" + std::to_string(c.line) + ": " : "route.txt: ";
            EXPECT_EQ(std::string(e.what()).rfind(where, 0), 0u) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

TEST(RouteTest, LoadNamesAMissingFile) {
    EXPECT_THROW(Route::load("/nonexistent/route.txt"), ToolError);
}

// ---- Made-up drives ------------------------------------------------------------------------

TEST(RouteSynthesizerTest, SameArgumentsGiveTheSameRouteAndItReadsBack) {
    const DateTime start = RouteSynthesizer::defaultStart();
    const Route first = RouteSynthesizer().make(300, start);
    const Route second = RouteSynthesizer().make(300, start);
    EXPECT_EQ(first, second);
    EXPECT_EQ(Route::parse(first.format(), "synth"), first);
    EXPECT_EQ(start.iso(), "2020-01-01T11:59:58Z");

    // Another start moves the clock only, not the drive.
    const Route later = RouteSynthesizer().make(300, start.plus(86400));
    EXPECT_EQ(later.seconds(), first.seconds());
    EXPECT_EQ(later.start(), start.plus(86400));
}

TEST(RouteSynthesizerTest, DriveLooksLikeADrive) {
    const Route route = RouteSynthesizer().make(3600, RouteSynthesizer::defaultStart());
    ASSERT_EQ(route.length(), 3600u);
    const std::vector<RouteSecond>& s = route.seconds();
    for (size_t t = 0; t < 3; ++t) {
        EXPECT_EQ(s[t].fix, RouteSecond::Fix::Void) << t;
    }
    EXPECT_EQ(s[1800].fix, RouteSecond::Fix::Silent);

    size_t bumps = 0;
    double fastest = 0;
    const RouteSecond* previous = nullptr;
    for (size_t t = 3; t < s.size(); ++t) {
        SCOPED_TRACE(t);
        if (t == 1800) {
            previous = nullptr;
            continue;
        }
        ASSERT_EQ(s[t].fix, RouteSecond::Fix::Valid);
        EXPECT_LT(s[t].latitude, 0);  // south and west: both hemisphere letters flip
        EXPECT_LT(s[t].longitude, 0);
        EXPECT_NEAR(s[t].latitude, -34.60, 1.0);
        EXPECT_NEAR(s[t].longitude, -58.38, 1.0);
        EXPECT_GE(s[t].speedKmh, 0);
        EXPECT_LE(s[t].speedKmh, 90);
        EXPECT_GE(s[t].heading, 0);
        EXPECT_LT(s[t].heading, 360);
        EXPECT_LT(std::fabs(s[t].gx), 0.6);
        EXPECT_LT(std::fabs(s[t].gy), 0.6);
        fastest = std::max(fastest, s[t].speedKmh);
        bumps += s[t].gz >= 1.5 ? 1 : 0;
        if (s[t].gz < 1.5) {
            EXPECT_NEAR(s[t].gz, 1.0, 0.1);
        }
        if (previous != nullptr) {
            // The car covers what its speed says, and turns smoothly.
            const double north = (s[t].latitude - previous->latitude) * 111320;
            const double east = (s[t].longitude - previous->longitude) * 111320 *
                                std::cos(s[t].latitude * std::acos(-1.0) / 180);
            const double metres = std::hypot(north, east);
            EXPECT_NEAR(metres, (s[t].speedKmh + previous->speedKmh) / 7.2, 1.0);
            const double turn = std::fabs(std::remainder(s[t].heading - previous->heading, 360));
            EXPECT_LT(turn, 15);
        }
        previous = &s[t];
    }
    EXPECT_GT(fastest, 75);
    EXPECT_GE(bumps, 10u);
}

TEST(RouteSynthesizerTest, OnlyDrivesOfAMinuteOrMoreSkipASecond) {
    auto silent = [](size_t seconds) {
        const Route r = RouteSynthesizer().make(seconds, RouteSynthesizer::defaultStart());
        return std::count_if(r.seconds().begin(), r.seconds().end(),
                             [](const RouteSecond& s) { return !s.recorded(); });
    };
    EXPECT_EQ(silent(59), 0);
    EXPECT_EQ(silent(60), 1);
    EXPECT_EQ(silent(3), 0);
}

// ---- Command line --------------------------------------------------------------------------

TEST(OptionsTest, ReadsByteCounts) {
    EXPECT_EQ(Options::byteCount("4096"), 4096u);
    EXPECT_EQ(Options::byteCount("512K"), 512u * 1024);
    EXPECT_EQ(Options::byteCount("3m"), 3u * 1024 * 1024);
    EXPECT_EQ(Options::byteCount("4G"), uint64_t{4} << 30);
    EXPECT_EQ(Options::byteCount("0x400"), 1024u);
    EXPECT_EQ(Options::byteCount("1.5G"), std::nullopt);
    EXPECT_EQ(Options::byteCount("G"), std::nullopt);
    EXPECT_EQ(Options::byteCount("-1"), std::nullopt);
    EXPECT_EQ(Options::byteCount("99999999999999999999"), std::nullopt);
}

TEST(OptionsTest, RejectsOptionsThatContradictEachOther) {
    const std::vector<std::string> base = {"--layout", "novatek", "--route",
                                           "r.txt",    "--out",   "o.mp4"};
    const std::vector<std::vector<std::string>> cases = {
        {"--pad-after"},
        {"--truncate", "--large-mdat"},
        {"--local-time"},
        {"--synth", "10"},
        {"--start", "2020-01-01T00:00:00Z"},
        {"--size", "321x180"},
        {"--size", "320"},
        {"--fps", "0"},
        {"--pad", "lots"},
        {"--block-size"},
        {"--frobnicate"},
    };
    for (const std::vector<std::string>& extra : cases) {
        std::vector<std::string> args = base;
        args.insert(args.end(), extra.begin(), extra.end());
        SCOPED_TRACE(extra.front());
        EXPECT_THROW(Options::parse(args), ToolError);
    }
    EXPECT_THROW(Options::parse({"--layout", "gopro", "--route", "r", "--out", "o", "--no-index"}),
                 ToolError);
    EXPECT_THROW(Options::parse({"--layout", "hero", "--route", "r", "--out", "o"}), ToolError);
    EXPECT_THROW(Options::parse({"--route", "r", "--out", "o"}), ToolError);
    EXPECT_NO_THROW(Options::parse({"--layout", "novatek-a119", "--synth", "60", "--out", "o",
                                    "--local-time", "--pad", "1M", "--pad-after"}));
}

// ---- NMEA sentences ------------------------------------------------------------------------

TEST(NmeaTest, ChecksumsMatchSentencesFromRealReceivers) {
    EXPECT_EQ(Nmea::checksum("GPRMC,051930.00,V,,,,,,,090717,,,N"), 0x7B);
    EXPECT_EQ(Nmea::checksum("GPRMC,,V,,,,,,,,,,N"), 0x53);
    EXPECT_EQ(Nmea::sentence("GPRMC,191450.00,A,5357.14375,N,02740.86226,E,7.525,62.67,080717,,,A"),
              "$GPRMC,191450.00,A,5357.14375,N,02740.86226,E,7.525,62.67,080717,,,A*56");
}

TEST(NmeaTest, MinutesThatRoundToSixtyCarryIntoTheDegrees) {
    RouteSecond s;
    s.fix = RouteSecond::Fix::Valid;
    s.latitude = -10.9999999999;
    s.longitude = 0.5;
    s.speedKmh = 1.852;
    s.heading = 7;
    const DateTime at = *DateTime::parseIso("2009-07-17T05:19:30Z");
    EXPECT_EQ(Nmea::rmcBody("GP", s, at),
              "GPRMC,051930.00,A,1100.00000,S,00030.00000,E,1.000,7.00,170709,,,A");
    s.fix = RouteSecond::Fix::Void;
    EXPECT_EQ(Nmea::rmcBody("GP", s, at), "GPRMC,051930.00,V,,,,,,,170709,,,N");
}

// ---- Layouts: the bytes each camera family writes ------------------------------------------

TEST_F(RecordingTest, NovatekBlocksSitInMdatBehindAnIndex) {
    MovieFile f(make("novatek"));
    EXPECT_EQ(typesOf(f.top()), (std::vector<std::string>{"ftyp", "mdat", "moov"}));
    const Box moov = f.topBox("moov");
    const std::vector<std::string> inMoov = typesOf(f.children(moov));
    const auto index = std::find(inMoov.begin(), inMoov.end(), "gps ");
    ASSERT_NE(index, inMoov.end());
    EXPECT_LT(index, std::find(inMoov.begin(), inMoov.end(), "udta"));

    const Box gps = f.at(moov, {"gps "});
    EXPECT_EQ(f.u32(gps.payload), 0x101u);
    ASSERT_EQ(f.u32(gps.payload + 4), 5u);
    EXPECT_EQ(gps.end, gps.payload + 8 + 5 * 8);
    const Box mdat = f.topBox("mdat");
    std::vector<uint64_t> blocks;
    for (uint64_t i = 0; i < 5; ++i) {
        const uint32_t offset = f.u32(gps.payload + 8 + 8 * i);
        const uint32_t size = f.u32(gps.payload + 12 + 8 * i);
        if (i == 2) {  // the S second
            EXPECT_EQ(offset, 0u);
            EXPECT_EQ(size, 0u);
            continue;
        }
        EXPECT_EQ(size, 0x400u);
        EXPECT_GE(offset, mdat.payload);
        EXPECT_LE(offset + size, mdat.end);
        EXPECT_EQ(f.u32(offset), size);
        EXPECT_EQ(f.bytes(offset + 4, 8), "freeGPS ");
        EXPECT_EQ(f.le32(offset + 12), 0x4Cu);
        blocks.push_back(offset);
    }
    ASSERT_EQ(blocks.size(), 4u);

    // Second 0: 11:59:58 UTC on 2020-01-01, a fix in the south-west.
    const uint64_t b = blocks[0];
    EXPECT_EQ(f.le32(b + 0x30), 11u);
    EXPECT_EQ(f.le32(b + 0x34), 59u);
    EXPECT_EQ(f.le32(b + 0x38), 58u);
    EXPECT_EQ(f.le32(b + 0x3C), 20u);
    EXPECT_EQ(f.le32(b + 0x40), 1u);
    EXPECT_EQ(f.le32(b + 0x44), 1u);
    EXPECT_EQ(f.bytes(b + 0x48, 4), std::string("ASW\0", 4));
    const double ddmm = f.f32(b + 0x4C);
    EXPECT_NEAR(std::floor(ddmm / 100) + std::fmod(ddmm, 100) / 60, 34.603723, 1e-5);
    const double dddmm = f.f32(b + 0x50);
    EXPECT_NEAR(std::floor(dddmm / 100) + std::fmod(dddmm, 100) / 60, 58.381592, 1e-5);
    EXPECT_NEAR(f.f32(b + 0x54) * 1.852, 36.0, 1e-4);
    EXPECT_FLOAT_EQ(f.f32(b + 0x58), 90.0f);

    // Second 1 has no fix; second 3 comes after the skipped second and keeps its own time.
    EXPECT_EQ(f.bytes(blocks[1] + 0x48, 1), "V");
    EXPECT_EQ(f.le32(blocks[1] + 0x38), 59u);
    EXPECT_EQ(f.le32(blocks[2] + 0x30), 12u);
    EXPECT_EQ(f.le32(blocks[2] + 0x38), 1u);
}

TEST_F(RecordingTest, NovatekA119CarriesTheAccelerometerAndCanKeepLocalTime) {
    MovieFile utc(make("novatek-a119"));
    const Box gps = utc.at(utc.topBox("moov"), {"gps "});
    const uint64_t b = utc.u32(gps.payload + 8);
    EXPECT_EQ(utc.le32(b + 0x10), 11u);
    EXPECT_EQ(utc.le32(b + 0x1C), 20u);
    EXPECT_EQ(utc.bytes(b + 0x25, 7), std::string("\0\0\0ASW\0", 7));
    const double ddmm = utc.f32(b + 0x2C);
    EXPECT_NEAR(std::floor(ddmm / 100) + std::fmod(ddmm, 100) / 60, 34.603723, 1e-5);
    EXPECT_NEAR(utc.f32(b + 0x34) * 1.852, 36.0, 1e-4);
    // round(g × 256): 0.02 -> 5, -0.05 -> -13, 1.00 -> 256
    EXPECT_EQ(static_cast<int32_t>(utc.le32(b + 0x3C)), 5);
    EXPECT_EQ(static_cast<int32_t>(utc.le32(b + 0x40)), -13);
    EXPECT_EQ(static_cast<int32_t>(utc.le32(b + 0x44)), 256);
    // Second 3 holds the 1.8 g bump.
    const uint64_t bump = utc.u32(gps.payload + 8 + 3 * 8);
    EXPECT_EQ(static_cast<int32_t>(utc.le32(bump + 0x44)), 461);
    // A void second still records its G.
    const uint64_t voidBlock = utc.u32(gps.payload + 8 + 8);
    EXPECT_EQ(utc.bytes(voidBlock + 0x28, 1), "V");
    EXPECT_EQ(static_cast<int32_t>(utc.le32(voidBlock + 0x44)), 256);

    MovieFile local(make("novatek-a119", {"--local-time"}));
    const uint64_t l = local.u32(local.at(local.topBox("moov"), {"gps "}).payload + 8);
    EXPECT_EQ(local.le32(l + 0x10), 14u);  // 11:59:58 UTC at +03:00
    EXPECT_EQ(local.le32(l + 0x1C), 2020u);
}

// The look-alikes keep the classic record's places with numbers of their own. Second 0 of the
// route: 11:59:58 UTC, -34.603723, -58.381592, 36 km/h.
TEST_F(RecordingTest, NovatekLookAlikesWriteTheirOwnNumbersInTheClassicRecord) {
    auto firstBlock = [](MovieFile& f) {
        return f.u32(f.at(f.topBox("moov"), {"gps "}).payload + 8);
    };
    MovieFile scaled(make("novatek-scaled"));
    EXPECT_EQ(typesOf(scaled.top()), (std::vector<std::string>{"ftyp", "frea", "mdat", "moov"}));
    const Box version = scaled.at(scaled.topBox("frea"), {"ver "});
    EXPECT_EQ(scaled.bytes(version.payload, version.end - version.payload), "3.01.054");
    uint64_t b = firstBlock(scaled);
    EXPECT_EQ(scaled.bytes(b + 0x48, 4), std::string("ASW\0", 4));
    EXPECT_NEAR((scaled.f32(b + 0x4C) - 187.982162849635) / 3, 34.603723, 1e-4);
    EXPECT_NEAR((scaled.f32(b + 0x50) - 2199.19873715495) / 2, 58.381592, 1e-4);
    EXPECT_NEAR(scaled.f32(b + 0x54) * 1.852, 36.0, 1e-4);

    MovieFile decimal(make("novatek-decimal"));
    b = firstBlock(decimal);
    EXPECT_EQ(decimal.u32(b), 0x4000u);
    EXPECT_EQ(decimal.bytes(b + 0x48, 4), std::string("ASW\0", 4));
    EXPECT_FLOAT_EQ(decimal.f32(b + 0x4C), -34.603723f);
    EXPECT_FLOAT_EQ(decimal.f32(b + 0x50), -58.381592f);
    EXPECT_FLOAT_EQ(decimal.f32(b + 0x54), 36.0f);

    MovieFile iqs(make("novatek-iqs"));
    b = firstBlock(iqs);
    EXPECT_EQ(iqs.bytes(b + 0x10, 16), std::string("IQS_A7_20150417\0", 16));
    EXPECT_EQ(iqs.le32(b + 0x30), 11u);
    EXPECT_EQ(iqs.bytes(b + 0x48, 4), std::string("ASW\0", 4));
    EXPECT_EQ(iqs.le32(b + 0x4C), 346037230u);
    EXPECT_EQ(iqs.le32(b + 0x50), 583815920u);
    EXPECT_EQ(iqs.le32(b + 0x54), 1000u);  // 10 m/s
    EXPECT_FLOAT_EQ(iqs.f32(b + 0x58), 25000.0f);
}

TEST_F(RecordingTest, NmeaTextTrackHoldsOneSentencePairPerSecond) {
    MovieFile f(make("nmea-text"));
    const Box text = f.trackWithHandler("text");
    EXPECT_EQ(f.sampleEntry(text), "text");
    const Box mdhd = f.at(text, {"mdia", "mdhd"});
    const Box stts = f.at(text, {"mdia", "minf", "stbl", "stts"});
    EXPECT_EQ(f.u32(stts.payload + 4), 1u);
    EXPECT_EQ(f.u32(stts.payload + 8), 5u);
    EXPECT_EQ(f.u32(stts.payload + 12), f.u32(mdhd.payload + 12));  // one second each

    const std::vector<std::string> samples = f.samples(text);
    ASSERT_EQ(samples.size(), 5u);
    for (const std::string& s : samples) {
        ASSERT_GE(s.size(), 2u);
        EXPECT_EQ(static_cast<uint16_t>(be16s(s, 0)), s.size() - 2) << "length prefix";
    }
    const std::vector<std::string> lines = splitOn(samples[0].substr(2), "\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(
        lines[0].rfind("$GPRMC,115958.00,A,3436.22338,S,05822.89552,W,19.438,90.00,010120,", 0),
        0u);
    EXPECT_EQ(lines[1].rfind("$GPGGA,115958.00,3436.22338,S,05822.89552,W,1,", 0), 0u);
    EXPECT_TRUE(checksumHolds(lines[0])) << lines[0];
    EXPECT_TRUE(checksumHolds(lines[1])) << lines[1];

    const std::string voidText = samples[1].substr(2);
    EXPECT_EQ(voidText.rfind("$GPRMC,115959.00,V,,,,,,,010120,,,N*", 0), 0u);
    EXPECT_TRUE(checksumHolds(voidText.substr(0, voidText.size() - 2)));
    EXPECT_EQ(samples[2], std::string(2, '\0'));  // the S second: an empty sample
    EXPECT_EQ(samples[3].substr(2, 17), "$GPRMC,120001.00,");
}

TEST_F(RecordingTest, NmeaSubtitleTrackCarriesTheSameText) {
    MovieFile subtitles(make("nmea-sbtl"));
    MovieFile text(make("nmea-text"));
    const Box sbtl = subtitles.trackWithHandler("sbtl");
    EXPECT_EQ(subtitles.sampleEntry(sbtl), "tx3g");
    EXPECT_EQ(subtitles.samples(sbtl), text.samples(text.trackWithHandler("text")));
}

TEST_F(RecordingTest, ThinkwareTextStartsWithTheGSensor) {
    MovieFile f(make("thinkware"));
    const Box track = f.trackWithHandler("text");
    EXPECT_EQ(f.sampleEntry(track), "text");
    const std::vector<std::string> samples = f.samples(track);
    ASSERT_EQ(samples.size(), 5u);
    const std::vector<std::string> parts = splitOn(samples[0].substr(2), ";");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0], "gsensori,4,512,10,-26,512");  // round(g × 512)
    EXPECT_EQ(parts[1].rfind("GNRMC,115958.00,A,3436.22338,S,05822.89552,W,", 0), 0u);
    EXPECT_TRUE(checksumHolds(parts[1])) << parts[1];
    EXPECT_EQ(parts[2], "CAR,0,0,0,0.0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(samples[0].find('$'), std::string::npos);
    EXPECT_EQ(samples[1].substr(2, 22), "gsensori,4,512,5,0,512");
    EXPECT_NE(samples[1].find(";GNRMC,115959.00,V,"), std::string::npos);
    EXPECT_EQ(samples[2], std::string(2, '\0'));
    EXPECT_EQ(samples[3].substr(2, 27), "gsensori,4,512,51,-26,922;G");
}

TEST_F(RecordingTest, BlackVueKeepsItsBoxesInAFreeBoxBeforeMdat) {
    MovieFile f(make("blackvue", {}, kRouteHead + "model DR750S-2CH\n" + kRouteSeconds));
    EXPECT_EQ(typesOf(f.top()), (std::vector<std::string>{"ftyp", "free", "mdat", "moov"}));
    const Box free = f.topBox("free");
    EXPECT_EQ(typesOf(f.children(free)),
              (std::vector<std::string>{"cprt", "sttm", "ptnm", "gps ", "3gf "}));

    const Box cprt = f.at(free, {"cprt"});
    EXPECT_EQ(f.bytes(cprt.payload, cprt.end - cprt.payload),
              " Pittasoft Co., Ltd.;DR750S-2CH;1.008;English;1;0000000000;T69;");
    const int64_t sttm = static_cast<int64_t>(f.u64(f.at(free, {"sttm"}).payload));
    EXPECT_EQ(sttm, (kStartUnix + 3 * 3600) * 1000);  // the camera's clock, +03:00
    const Box ptnm = f.at(free, {"ptnm"});
    EXPECT_EQ(f.bytes(ptnm.payload + 4, ptnm.end - ptnm.payload - 4),
              std::string("20200101_145958_NF.mp4\0", 23));

    const Box gps = f.at(free, {"gps "});
    const std::string box = f.bytes(gps.payload, gps.end - gps.payload);
    const std::string log = box.substr(0, box.find('\0'));
    EXPECT_EQ(box.find_first_not_of('\0', log.size()), std::string::npos) << "NUL padding";
    std::map<std::string, int64_t> stampOf;  // RMC time -> bracket
    for (const std::string& line : splitOn(log, "\n")) {
        SCOPED_TRACE(line);
        ASSERT_EQ(line.front(), '[');
        const size_t close = line.find(']');
        const int64_t stamp = std::stoll(line.substr(1, close - 1));
        const std::string sentence = line.substr(close + 1);
        EXPECT_TRUE(checksumHolds(sentence));
        const std::string time = sentence.substr(7, 9);
        if (stampOf.count(time) != 0) {
            EXPECT_EQ(stampOf[time], stamp) << "RMC and GGA of one second share a stamp";
        }
        stampOf[time] = stamp;
    }
    const std::map<std::string, int64_t> expectedSecond = {
        {"115958.00", 0}, {"115959.00", 1}, {"120001.00", 3}, {"120002.00", 4}};
    ASSERT_EQ(stampOf.size(), expectedSecond.size()) << "no lines for the S second";
    for (const auto& [time, second] : expectedSecond) {
        ASSERT_EQ(stampOf.count(time), 1u) << time;
        EXPECT_NEAR(static_cast<double>(stampOf[time] - sttm), second * 1000.0, 400.0) << time;
        EXPECT_GE(stampOf[time], sttm);
    }

    // 3gf: ten records a second; the largest one each second is the route's G at 128 per g.
    const Box g = f.at(free, {"3gf "});
    const std::string records = f.bytes(g.payload, g.end - g.payload);
    ASSERT_EQ(records.size() % 10, 0u);
    EXPECT_EQ(records.substr(records.size() - 10), std::string(10, '\xff'));
    std::map<uint32_t, std::vector<std::vector<int>>> bySecond;
    uint32_t lastMs = 0;
    for (size_t at = 0; at + 10 < records.size(); at += 10) {
        const uint32_t ms = be32(records, at);
        EXPECT_GE(ms, lastMs);
        lastMs = ms;
        bySecond[ms / 1000].push_back(
            {be16s(records, at + 4), be16s(records, at + 6), be16s(records, at + 8)});
    }
    const std::map<uint32_t, std::vector<int>> peaks = {
        {0, {3, -6, 128}}, {1, {1, 0, 128}}, {3, {13, -6, 230}}, {4, {0, 0, 128}}};
    ASSERT_EQ(bySecond.size(), peaks.size());
    for (const auto& [second, peak] : peaks) {
        SCOPED_TRACE(second);
        ASSERT_EQ(bySecond[second].size(), 10u);
        auto magnitude = [](const std::vector<int>& r) {
            return r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
        };
        const auto loudest = std::max_element(
            bySecond[second].begin(), bySecond[second].end(),
            [&](const auto& a, const auto& b) { return magnitude(a) < magnitude(b); });
        EXPECT_EQ(*loudest, peak);
        const int loudestMagnitude = magnitude(peak);
        EXPECT_EQ(std::count_if(bySecond[second].begin(), bySecond[second].end(),
                                [&](const auto& r) { return magnitude(r) == loudestMagnitude; }),
                  1);
    }
}

TEST_F(RecordingTest, SeventyMaiRecordsCountSecondsFromTheStart) {
    MovieFile f(make("70mai"));
    EXPECT_EQ(typesOf(f.top()), (std::vector<std::string>{"ftyp", "GPS ", "mdat", "moov"}));
    const Box box = f.topBox("GPS ");
    ASSERT_EQ(box.end - box.payload, 5u * 36);  // four seconds with a record, then the end
    const uint64_t r = box.payload;
    EXPECT_EQ(f.le32(r), 1u);
    EXPECT_EQ(f.le32(r + 4), 1u);
    EXPECT_EQ(f.le32(r + 8), 0u);
    EXPECT_EQ(f.le32(r + 12), 36000u);
    EXPECT_EQ(f.bytes(r + 16, 1), "S");
    EXPECT_EQ(f.le32(r + 17), 3436223u);  // DDMM.MMM × 1000, unaligned
    EXPECT_EQ(f.bytes(r + 21, 1), "W");
    EXPECT_EQ(f.le32(r + 22), 5822896u);
    EXPECT_EQ(f.bytes(r + 26, 10), std::string(10, '\0'));
    // The void second: its time, then nothing where the letters and values go.
    EXPECT_EQ(f.le32(r + 36 + 8), 1u);
    EXPECT_EQ(f.bytes(r + 36 + 12, 24), std::string(24, '\0'));
    // After the skipped second the count goes on from the start, not from the last record.
    EXPECT_EQ(f.le32(r + 72 + 8), 3u);
    EXPECT_EQ(f.le32(r + 72 + 12), 37500u);
    EXPECT_EQ(f.bytes(r + 144, 36), std::string(36, '\0'));
}

// One GPMF sample as key -> payloads (nested keys joined with '/').
struct GpmfSample {
    std::multimap<std::string, std::string> items;
    std::map<std::string, std::pair<char, int>> shape;  // type, structure size

    void read(const std::string& data, const std::string& prefix) {
        size_t at = 0;
        while (at + 8 <= data.size()) {
            const std::string key = prefix + data.substr(at, 4);
            const char type = data[at + 4];
            const int structSize = static_cast<unsigned char>(data[at + 5]);
            const int repeat = (static_cast<unsigned char>(data[at + 6]) << 8) |
                               static_cast<unsigned char>(data[at + 7]);
            const size_t length = static_cast<size_t>(structSize * repeat);
            ASSERT_LE(at + 8 + length, data.size()) << key;
            const std::string payload = data.substr(at + 8, length);
            if (type == 0) {
                read(payload, key + "/");
            } else {
                items.emplace(key, payload);
                shape[key] = {type, structSize};
            }
            at += 8 + (length + 3) / 4 * 4;
        }
        EXPECT_EQ(at, data.size()) << "items padded to 4 bytes";
    }
    std::string one(const std::string& key) const {
        EXPECT_EQ(items.count(key), 1u) << key;
        const auto found = items.find(key);
        return found == items.end() ? std::string() : found->second;
    }
};

GpmfSample readGpmf(const std::string& sample) {
    GpmfSample g;
    g.read(sample, "");
    return g;
}

TEST_F(RecordingTest, GoProSamplesCarryGpsAndAccelerometerStreams) {
    MovieFile f(make("gopro"));
    const Box track = f.trackWithHandler("meta");
    EXPECT_EQ(f.sampleEntry(track), "gpmd");
    const std::vector<std::string> samples = f.samples(track);
    ASSERT_EQ(samples.size(), 5u);

    const GpmfSample first = readGpmf(samples[0]);
    EXPECT_EQ(first.one("DEVC/DVNM"), "Camera");
    EXPECT_EQ(be32(first.one("DEVC/DVID"), 0), 1u);
    EXPECT_EQ(first.items.count("DEVC/STRM/STNM"), 2u);
    EXPECT_EQ(be32(first.one("DEVC/STRM/GPSF"), 0), 3u);
    EXPECT_EQ(first.one("DEVC/STRM/GPSU"), "200101115958.000");
    EXPECT_EQ(first.one("DEVC/STRM/SIUN"), "m/s\xb2");
    const std::string gps5 = first.one("DEVC/STRM/GPS5");
    EXPECT_EQ(first.shape.at("DEVC/STRM/GPS5"), std::make_pair('l', 20));
    ASSERT_EQ(gps5.size(), 10u * 20);
    EXPECT_EQ(static_cast<int32_t>(be32(gps5, 0)), -346037230);
    EXPECT_EQ(static_cast<int32_t>(be32(gps5, 4)), -583815920);
    EXPECT_EQ(static_cast<int32_t>(be32(gps5, 8)), 25000);
    EXPECT_EQ(static_cast<int32_t>(be32(gps5, 12)), 10000);  // 36 km/h = 10 m/s
    EXPECT_EQ(static_cast<int32_t>(be32(gps5, 16)), 1000);
    // The next second has no fix, so the fixes in between stay put.
    EXPECT_EQ(gps5.substr(180, 20), gps5.substr(0, 20));

    // Accelerometer: 50 readings; the strongest is the route's G in m/s² at 418 counts each.
    const std::string accl = first.one("DEVC/STRM/ACCL");
    EXPECT_EQ(first.shape.at("DEVC/STRM/ACCL"), std::make_pair('s', 6));
    ASSERT_EQ(accl.size(), 50u * 6);
    std::vector<int> peak;
    int loudest = -1;
    for (size_t at = 0; at < accl.size(); at += 6) {
        const std::vector<int> r = {be16s(accl, at), be16s(accl, at + 2), be16s(accl, at + 4)};
        const int m = r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
        if (m > loudest) {
            loudest = m;
            peak = r;
        }
    }
    const double countsPerG = 9.80665 * 418;
    EXPECT_EQ(peak, (std::vector<int>{static_cast<int>(std::lround(0.02 * countsPerG)),
                                      static_cast<int>(std::lround(-0.05 * countsPerG)),
                                      static_cast<int>(std::lround(countsPerG))}));

    EXPECT_EQ(be32(readGpmf(samples[1]).one("DEVC/STRM/GPSF"), 0), 0u);  // void
    const GpmfSample skipped = readGpmf(samples[2]);
    EXPECT_EQ(skipped.items.size(), 1u);
    EXPECT_EQ(skipped.one("DEVC/DVNM"), "Camera");

    // Second 3 moves towards second 4: halfway through it is halfway there.
    const std::string moving = readGpmf(samples[3]).one("DEVC/STRM/GPS5");
    EXPECT_EQ(static_cast<int32_t>(be32(moving, 5 * 20)), -346037115);
    EXPECT_EQ(static_cast<int32_t>(be32(moving, 5 * 20 + 4)), -583812920);
}

TEST_F(RecordingTest, PlainRecordingHasOnlyPictureAndSound) {
    MovieFile f(make("none"));
    EXPECT_EQ(typesOf(f.top()), (std::vector<std::string>{"ftyp", "mdat", "moov"}));
    std::vector<std::string> handlers;
    for (const Box& t : f.tracks()) {
        handlers.push_back(f.handler(t));
    }
    EXPECT_EQ(handlers, (std::vector<std::string>{"vide", "soun"}));
    const std::vector<std::string> moov = typesOf(f.children(f.topBox("moov")));
    EXPECT_EQ(std::count(moov.begin(), moov.end(), "gps "), 0);
}

// Over a long drive, not just the five seconds above: the stamps stay within their window and
// the loudest reading of every second is the route's G.
TEST(SensorLayoutTest, LongDriveKeepsStampsAndPeaksEverySecond) {
    const Route route = RouteSynthesizer().make(600, RouteSynthesizer::defaultStart());
    const int64_t sttm = BlackVueLayout::startMillis(route);
    EXPECT_EQ(sttm, (kStartUnix - 3 * 3600) * 1000);  // the made-up drive's clock is -03:00

    std::vector<int64_t> jitter;
    for (const std::string& line : splitOn(BlackVueLayout::gpsLog(route), "\n")) {
        const int64_t stamp = std::stoll(line.substr(1, line.find(']') - 1));
        const std::string time = line.substr(line.find(']') + 8, 6);
        const int64_t second = (std::stoll(time.substr(0, 2)) - 11) * 3600 +
                               (std::stoll(time.substr(2, 2)) - 59) * 60 +
                               std::stoll(time.substr(4, 2)) - 58;
        jitter.push_back(stamp - sttm - second * 1000);
    }
    ASSERT_FALSE(jitter.empty());
    EXPECT_GE(*std::min_element(jitter.begin(), jitter.end()), -400);
    EXPECT_LE(*std::max_element(jitter.begin(), jitter.end()), 400);
    EXPECT_GE(jitter.front(), 0) << "never before the recording started";
    std::sort(jitter.begin(), jitter.end());
    EXPECT_GT(std::unique(jitter.begin(), jitter.end()) - jitter.begin(), 200) << "it wanders";

    auto magnitude = [](const std::vector<int>& r) {
        return r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
    };
    // One reading equals the peak and every other one is strictly quieter.
    auto checkPeak = [&](const std::vector<std::vector<int>>& readings,
                         const std::vector<int>& peak) {
        EXPECT_EQ(std::count(readings.begin(), readings.end(), peak), 1);
        for (const std::vector<int>& r : readings) {
            if (r != peak) {
                EXPECT_LT(magnitude(r), magnitude(peak));
            }
        }
    };
    const std::string log = [&] {
        const Bytes b = BlackVueLayout::accelerationLog(route);
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }();
    std::map<size_t, std::vector<std::vector<int>>> bySecond;
    for (size_t at = 0; at + 10 < log.size(); at += 10) {
        bySecond[be32(log, at) / 1000].push_back(
            {be16s(log, at + 4), be16s(log, at + 6), be16s(log, at + 8)});
    }
    for (size_t t = 0; t < route.length(); ++t) {
        SCOPED_TRACE(t);
        const RouteSecond& s = route.seconds()[t];
        if (!s.recorded()) {
            EXPECT_EQ(bySecond.count(t), 0u);
            continue;
        }
        checkPeak(bySecond[t], {static_cast<int>(std::lround(s.gx * 128)),
                                static_cast<int>(std::lround(s.gy * 128)),
                                static_cast<int>(std::lround(s.gz * 128))});

        const Bytes sample = GoProLayout::sample(route, t);
        const std::string accl =
            readGpmf(std::string(reinterpret_cast<const char*>(sample.data()), sample.size()))
                .one("DEVC/STRM/ACCL");
        std::vector<std::vector<int>> readings;
        for (size_t at = 0; at + 6 <= accl.size(); at += 6) {
            readings.push_back({be16s(accl, at), be16s(accl, at + 2), be16s(accl, at + 4)});
        }
        const double countsPerG = 9.80665 * 418;
        checkPeak(readings, {static_cast<int>(std::lround(s.gx * countsPerG)),
                             static_cast<int>(std::lround(s.gy * countsPerG)),
                             static_cast<int>(std::lround(s.gz * countsPerG))});
    }
}

TEST(SensorLayoutTest, TinyPeaksStillStandOut) {
    Prng random(7);
    for (const SensorBurst::Reading& peak :
         {SensorBurst::Reading{1, 0, 0}, SensorBurst::Reading{0, -1, 1},
          SensorBurst::Reading{2, -2, 2}, SensorBurst::Reading{-300, 5, 0}}) {
        const SensorBurst burst(peak, 50, random);
        ASSERT_EQ(burst.readings().size(), 50u);
        EXPECT_EQ(burst.readings()[burst.peakIndex()], peak);
        auto magnitude = [](const SensorBurst::Reading& r) {
            return r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
        };
        for (size_t i = 0; i < burst.readings().size(); ++i) {
            if (i != burst.peakIndex()) {
                EXPECT_LT(magnitude(burst.readings()[i]), magnitude(peak)) << i;
            }
        }
    }
    // In free fall every reading is zero, so the peak rule still gives zero.
    const SensorBurst still(SensorBurst::Reading{0, 0, 0}, 10, random);
    for (const SensorBurst::Reading& r : still.readings()) {
        EXPECT_EQ(r, (SensorBurst::Reading{0, 0, 0}));
    }
}

// ---- Every layout plays, and its movie lasts exactly the route ------------------------------

class EveryLayoutTest : public RecordingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryLayoutTest, PlaysAndLastsExactlyTheRoute) {
    const std::string path = make(GetParam());
    const CommandResult ffmpeg = run("ffmpeg -nostdin -v error -i '" + path + "' -f null -");
    EXPECT_EQ(ffmpeg.exitCode, 0);
    EXPECT_EQ(ffmpeg.output, "");

    MovieFile f(path);
    const Box mvhd = f.at(f.topBox("moov"), {"mvhd"});
    ASSERT_EQ(f.bytes(mvhd.payload, 1), std::string(1, '\0'));
    EXPECT_EQ(f.u32(mvhd.payload + 4), static_cast<uint32_t>(kStartUnix + kMovieEpoch));
    const uint32_t timescale = f.u32(mvhd.payload + 12);
    EXPECT_EQ(f.u32(mvhd.payload + 16), 5 * timescale);
    uint32_t largestId = 0;
    for (const Box& t : f.tracks()) {
        const Box tkhd = f.at(t, {"tkhd"});
        largestId = std::max(largestId, f.u32(tkhd.payload + 12));
        EXPECT_LE(f.u32(tkhd.payload + 20), 5 * timescale) << f.handler(t);
        const Box mdhd = f.at(t, {"mdia", "mdhd"});
        EXPECT_LE(f.u32(mdhd.payload + 16), 5 * f.u32(mdhd.payload + 12)) << f.handler(t);
        EXPECT_EQ(f.u32(mdhd.payload + 4), static_cast<uint32_t>(kStartUnix + kMovieEpoch));
    }
    EXPECT_EQ(f.u32(mvhd.end - 4), largestId + 1) << "next track ID";
}

INSTANTIATE_TEST_SUITE_P(Layouts, EveryLayoutTest,
                         ::testing::Values("novatek", "novatek-a119", "novatek-scaled",
                                           "novatek-decimal", "novatek-iqs", "nmea-text",
                                           "nmea-sbtl", "thinkware", "blackvue", "70mai", "gopro",
                                           "none"),
                         [](const auto& layout) {
                             std::string name = layout.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return "layout_" + name;
                         });

// ---- File layout options ---------------------------------------------------------------------

// The first sample of the video track, wherever the options put it.
std::string firstVideoSample(MovieFile& f) {
    const Box video = f.trackWithHandler("vide");
    return f.bytes(f.chunkOffsets(video).front(), f.sampleSizes(video).front());
}

TEST_F(RecordingTest, MoovFirstMovesEveryChunkOffsetWithTheMediaData) {
    MovieFile last(make("nmea-text"));
    MovieFile first(make("nmea-text", {"--moov-first"}));
    EXPECT_EQ(typesOf(first.top()), (std::vector<std::string>{"ftyp", "moov", "mdat"}));
    EXPECT_EQ(firstVideoSample(first), firstVideoSample(last));
    const Box mdat = first.topBox("mdat");
    for (const Box& t : first.tracks()) {
        for (uint64_t offset : first.chunkOffsets(t)) {
            EXPECT_GE(offset, mdat.payload) << first.handler(t);
            EXPECT_LT(offset, mdat.end) << first.handler(t);
        }
    }
    EXPECT_EQ(first.samples(first.trackWithHandler("text")),
              last.samples(last.trackWithHandler("text")));
}

TEST_F(RecordingTest, LargeMdatAndCo64WriteSixtyFourBitSizesAndOffsets) {
    MovieFile plain(make("gopro"));
    MovieFile wide(make("gopro", {"--large-mdat", "--co64"}));
    const Box mdat = wide.topBox("mdat");
    EXPECT_EQ(mdat.declared, 1u);
    EXPECT_EQ(mdat.payload - mdat.start, 16u);
    for (const Box& t : wide.tracks()) {
        const std::vector<std::string> table =
            typesOf(wide.children(wide.at(t, {"mdia", "minf", "stbl"})));
        EXPECT_EQ(std::count(table.begin(), table.end(), "co64"), 1) << wide.handler(t);
        EXPECT_EQ(std::count(table.begin(), table.end(), "stco"), 0) << wide.handler(t);
    }
    EXPECT_EQ(firstVideoSample(wide), firstVideoSample(plain));
    EXPECT_EQ(wide.samples(wide.trackWithHandler("meta")),
              plain.samples(plain.trackWithHandler("meta")));
}

TEST_F(RecordingTest, PadLeavesASparseHoleBeforeOrAfterThePayload) {
    constexpr uint64_t kPad = 16 << 20;
    MovieFile plain(make("novatek"));
    const std::string beforePath = make("novatek", {"--pad", "16M"});
    MovieFile before(beforePath);
    MovieFile after(make("novatek", {"--pad", "16M", "--pad-after"}));
    EXPECT_EQ(before.size(), plain.size() + kPad);
    EXPECT_EQ(after.size(), plain.size() + kPad);
    struct stat info {};
    ASSERT_EQ(stat(beforePath.c_str(), &info), 0);
    EXPECT_LT(static_cast<uint64_t>(info.st_blocks) * 512, kPad / 4) << "the hole takes no disk";

    auto firstBlock = [](MovieFile& f) {
        return f.u32(f.at(f.topBox("moov"), {"gps "}).payload + 8);
    };
    EXPECT_EQ(firstBlock(before), firstBlock(plain) + kPad);
    EXPECT_EQ(firstBlock(after), firstBlock(plain));
    EXPECT_EQ(before.bytes(firstBlock(before) + 4, 8), "freeGPS ");
    EXPECT_EQ(after.bytes(firstBlock(after) + 4, 8), "freeGPS ");
}

TEST_F(RecordingTest, BeyondFourGibibytesOffsetsAndSizesTurnSixtyFourBit) {
    const std::string path = make("nmea-text", {"--pad", "4G", "--no-audio"});
    MovieFile f(path);
    EXPECT_GT(f.size(), uint64_t{4} << 30);
    EXPECT_EQ(f.topBox("mdat").declared, 1u);
    for (const Box& t : f.tracks()) {
        const std::vector<std::string> table =
            typesOf(f.children(f.at(t, {"mdia", "minf", "stbl"})));
        EXPECT_EQ(std::count(table.begin(), table.end(), "co64"), 1) << f.handler(t);
    }
    const Box text = f.trackWithHandler("text");
    EXPECT_GT(f.chunkOffsets(text).front(), uint64_t{4} << 30);
    EXPECT_EQ(f.samples(text)[0].substr(2, 7), "$GPRMC,");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_LT(static_cast<uint64_t>(info.st_blocks) * 512, uint64_t{64} << 20);
}

TEST_F(RecordingTest, TruncateLeavesWhatAPowerCutLeaves) {
    MovieFile f(make("blackvue", {"--truncate"}));
    EXPECT_EQ(typesOf(f.top()), (std::vector<std::string>{"ftyp", "free", "mdat"}));
    const Box mdat = f.topBox("mdat");
    EXPECT_EQ(mdat.declared, 0u);
    EXPECT_EQ(mdat.end, f.size());

    MovieFile novatek(make("novatek", {"--truncate"}));
    const Box media = novatek.topBox("mdat");
    const std::string data = novatek.bytes(media.payload, media.end - media.payload);
    size_t blocks = 0;
    for (size_t at = data.find("freeGPS "); at != std::string::npos;
         at = data.find("freeGPS ", at + 1)) {
        ++blocks;
    }
    EXPECT_EQ(blocks, 4u) << "the blocks survive for a reader that scans";
}

TEST_F(RecordingTest, NovatekOptionsShapeBlocksAndIndex) {
    MovieFile unindexed(make("novatek", {"--no-index"}));
    const std::vector<std::string> moov = typesOf(unindexed.children(unindexed.topBox("moov")));
    EXPECT_EQ(std::count(moov.begin(), moov.end(), "gps "), 0);

    MovieFile big(make("novatek", {"--block-size", "0x8000"}));
    const Box gps = big.at(big.topBox("moov"), {"gps "});
    EXPECT_EQ(big.u32(gps.payload + 12), 0x8000u);
    EXPECT_EQ(big.u32(gps.payload + 16) - big.u32(gps.payload + 8), 0x8000u);

    EXPECT_THROW(make("novatek", {"--block-size", "64"}), ToolError);
}

TEST_F(RecordingTest, CutAtCutsAndAFailureLeavesNoFile) {
    const std::string cut = make("novatek", {"--cut-at", "100000"});
    EXPECT_EQ(fs::file_size(cut), 100000u);

    const std::vector<std::string> before = scratch_.names();
    EXPECT_THROW(make("novatek", {"--cut-at", "1G"}), ToolError);
    std::vector<std::string> after = scratch_.names();
    // Only the new route file may appear; neither the recording nor a partial one.
    after.erase(std::remove_if(after.begin(), after.end(),
                               [](const std::string& n) { return n.rfind("route-", 0) == 0; }),
                after.end());
    std::vector<std::string> expected = before;
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const std::string& n) { return n.rfind("route-", 0) == 0; }),
                   expected.end());
    EXPECT_EQ(after, expected);
}

TEST_F(RecordingTest, PictureFollowsSizeFpsAudioAndRouteLength) {
    auto picture = [](MovieFile& f) {
        const Box video = f.trackWithHandler("vide");
        const Box stsd = f.at(video, {"mdia", "minf", "stbl", "stsd"});
        const uint64_t entry = stsd.payload + 8;  // avc1 sample entry box
        const Box stts = f.at(video, {"mdia", "minf", "stbl", "stts"});
        const uint32_t timescale = f.u32(f.at(video, {"mdia", "mdhd"}).payload + 12);
        return std::vector<uint32_t>{static_cast<uint32_t>(f.be(entry + 32, 2)),
                                     static_cast<uint32_t>(f.be(entry + 34, 2)),
                                     timescale / f.u32(stts.payload + 12)};
    };
    MovieFile standard(make("none"));
    EXPECT_EQ(picture(standard), (std::vector<uint32_t>{320, 180, 25}));

    MovieFile chosen(make("none", {"--size", "176x144", "--fps", "10", "--no-audio"}));
    EXPECT_EQ(picture(chosen), (std::vector<uint32_t>{176, 144, 10}));
    EXPECT_EQ(chosen.tracks().size(), 1u);

    // Past ten minutes the defaults shrink so long recordings encode quickly.
    const std::string route = scratch_.file("long.txt");
    const std::string out = scratch_.file("long.mp4");
    RecordingMaker(Options::parse({"--layout", "none", "--synth", "601", "--write-route", route,
                                   "--out", out}))
        .make();
    MovieFile longer(out);
    EXPECT_EQ(picture(longer), (std::vector<uint32_t>{160, 90, 1}));
    const Box mvhd = longer.at(longer.topBox("moov"), {"mvhd"});
    EXPECT_EQ(longer.u32(mvhd.payload + 16), 601 * longer.u32(mvhd.payload + 12));
    EXPECT_EQ(Route::load(route), RouteSynthesizer().make(601, RouteSynthesizer::defaultStart()));
}

// ---- The program ---------------------------------------------------------------------------

TEST(CommandLineTest, SilentOnSuccessOneLineOnFailure) {
    ScratchDir scratch;
    const std::string route = scratch.file("route.txt");
    const std::string out = scratch.file("out.mp4");
    const std::string program = MAKE_RECORDING_PROGRAM;

    writeText(route, kRoute);
    const CommandResult good =
        run("'" + program + "' --layout 70mai --route '" + route + "' --out '" + out + "'");
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.output, "");
    EXPECT_TRUE(fs::exists(out));

    writeText(route, kRouteHead + "A -34.6 -58.4 36 90 0 0\n");
    fs::remove(out);
    const CommandResult bad =
        run("'" + program + "' --layout 70mai --route '" + route + "' --out '" + out + "'");
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_EQ(std::count(bad.output.begin(), bad.output.end(), '\n'), 1) << bad.output;
    EXPECT_NE(bad.output.find(route + ":3: "), std::string::npos) << bad.output;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(scratch.names(), std::vector<std::string>{"route.txt"});
}

}  // namespace
}  // namespace makerec
