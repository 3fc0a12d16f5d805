#include "GpmfDecoder.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "Bytes.h"
#include "CivilTime.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "TrackSampleReader.h"

namespace gpx {

namespace {

constexpr size_t kMaxSampleBytes = 4u << 20;
constexpr int kMaxDepth = 8;

// One key-length-value item: a key, a type character, the size of one structure and how
// many structures follow.
struct Item {
    uint32_t key = 0;
    char type = 0;
    size_t structSize = 0;
    size_t repeat = 0;
    bytes::Span data;
};

size_t typeSize(char t) {
    switch (t) {
        case 'b':
        case 'B':
        case 'c':
            return 1;
        case 's':
        case 'S':
            return 2;
        case 'f':
        case 'l':
        case 'L':
        case 'q':
        case 'F':
            return 4;
        case 'd':
        case 'j':
        case 'J':
        case 'Q':
            return 8;
        default:
            return 0;
    }
}

double readValue(bytes::Span d, size_t at, char t) {
    switch (t) {
        case 'b':
            return static_cast<int8_t>(bytes::u8(d, at));
        case 'B':
        case 'c':
            return bytes::u8(d, at);
        case 's':
            return bytes::be16s(d, at);
        case 'S':
            return bytes::be16(d, at);
        case 'l':
            return bytes::be32s(d, at);
        case 'L':
        case 'F':
            return bytes::be32(d, at);
        case 'f':
            return bytes::be32f(d, at);
        case 'd':
            return bytes::be64f(d, at);
        case 'j':
            return static_cast<double>(static_cast<int64_t>(bytes::be64(d, at)));
        case 'J':
            return static_cast<double>(bytes::be64(d, at));
        case 'q':
            return bytes::be32s(d, at) / 65536.0;
        case 'Q':
            return static_cast<double>(static_cast<int64_t>(bytes::be64(d, at))) / 4294967296.0;
        default:
            return 0.0;
    }
}

// The state a stream's items share: the scale, the field types and the stamps that come
// before the data they apply to.
struct Stream {
    std::vector<double> scale;
    std::string types;
    std::optional<int64_t> gpsuMillis;
    std::optional<int> fix;
};

// Entries of a data item as numbers, each field divided by its scale.
std::vector<std::vector<double>> entries(const Item& item, const Stream& stream) {
    std::vector<std::vector<double>> out;
    std::string fieldTypes;
    if (item.type == '?') {
        fieldTypes = stream.types;
    } else {
        size_t one = typeSize(item.type);
        if (one == 0 || item.structSize % one != 0) {
            return out;
        }
        fieldTypes.assign(item.structSize / one, item.type);
    }
    size_t width = 0;
    for (char t : fieldTypes) {
        if (typeSize(t) == 0) {
            return out;
        }
        width += typeSize(t);
    }
    if (width == 0 || width != item.structSize) {
        return out;
    }
    out.reserve(item.repeat);
    for (size_t r = 0; r < item.repeat; ++r) {
        size_t at = r * item.structSize;
        if (!bytes::has(item.data, at, item.structSize)) {
            break;
        }
        std::vector<double> e(fieldTypes.size());
        for (size_t f = 0; f < fieldTypes.size(); ++f) {
            double v = readValue(item.data, at, fieldTypes[f]);
            double s = stream.scale.empty()
                           ? 1.0
                           : (stream.scale.size() == fieldTypes.size() ? stream.scale[f]
                                                                       : stream.scale[0]);
            e[f] = s != 0.0 ? v / s : v;
            at += typeSize(fieldTypes[f]);
        }
        out.push_back(std::move(e));
    }
    return out;
}

// "yymmddhhmmss.sss" as UTC milliseconds.
std::optional<int64_t> parseGpsu(bytes::Span d) {
    if (d.size() < 16) {
        return std::nullopt;
    }
    auto num = [&](size_t at, size_t n) {
        int v = 0;
        for (size_t i = 0; i < n; ++i) {
            uint8_t c = d[at + i];
            if (c < '0' || c > '9') {
                return -1;
            }
            v = v * 10 + (c - '0');
        }
        return v;
    };
    CivilTime t{2000 + num(0, 2), num(2, 2), num(4, 2), num(6, 2), num(8, 2), num(10, 2)};
    int ms = d[12] == '.' ? num(13, 3) : 0;
    if (num(0, 2) < 0 || ms < 0 || !t.isValid()) {
        return std::nullopt;
    }
    return t.toUnix() * 1000 + ms;
}

// Seconds since 1970 as milliseconds; nothing for a value no clock gives (not finite, or
// beyond some 30,000 years), which would not fit the conversion.
std::optional<int64_t> millisFromSeconds(double seconds) {
    if (!(std::abs(seconds) < 1e12)) {
        return std::nullopt;
    }
    return std::llround(seconds * 1000.0);
}

double bearing(const Fix& a, const Fix& b) {
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    double phi1 = a.latitude * kRad;
    double phi2 = b.latitude * kRad;
    double dl = (b.longitude - a.longitude) * kRad;
    double y = std::sin(dl) * std::cos(phi2);
    double x = std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dl);
    double deg = std::atan2(y, x) / kRad;
    return deg < 0 ? deg + 360.0 : deg;
}

// What carries over from one sample to the next.
struct DeviceState {
    std::optional<double> bootToUnix;  // seconds to add to the device clock for UTC
    bool headingKnown = false;
};

class SampleWalker {
  public:
    SampleWalker(double start, double duration, RawTrack& track, DeviceState& device)
        : start_(start), duration_(duration), track_(track), device_(device) {}

    // Stamps the fixes that waited for the device clock, which may come later in a sample.
    void finish() {
        for (auto [index, boot] : pendingClock_) {
            if (!device_.bootToUnix || index >= track_.fixes.size()) {
                continue;
            }
            if (auto ms = millisFromSeconds(boot + *device_.bootToUnix)) {
                track_.fixes[index].hasTime = true;
                track_.fixes[index].utcMillis = *ms;
            }
        }
        pendingClock_.clear();
    }

    void walk(bytes::Span d, int depth, Stream& stream) {
        size_t at = 0;
        while (bytes::has(d, at, 8)) {
            Item item;
            item.key = bytes::be32(d, at);
            item.type = static_cast<char>(bytes::u8(d, at + 4));
            item.structSize = bytes::u8(d, at + 5);
            item.repeat = bytes::be16(d, at + 6);
            size_t length = item.structSize * item.repeat;
            if (item.key == 0 || !bytes::has(d, at + 8, length)) {
                return;  // damaged or padding: stop this level
            }
            item.data = d.subspan(at + 8, length);
            at += 8 + ((length + 3) & ~size_t(3));
            if (item.type == 0) {
                if (depth < kMaxDepth) {
                    Stream inner;
                    walk(item.data, depth + 1, inner);
                }
                continue;
            }
            handle(item, stream);
        }
    }

  private:
    void handle(const Item& item, Stream& stream) {
        switch (item.key) {
            case fourcc("SCAL"): {
                stream.scale.clear();
                size_t one = typeSize(item.type);
                for (size_t i = 0; one != 0 && bytes::has(item.data, i * one, one); ++i) {
                    stream.scale.push_back(readValue(item.data, i * one, item.type));
                }
                break;
            }
            case fourcc("TYPE"):
                stream.types.assign(reinterpret_cast<const char*>(item.data.data()),
                                    item.data.size());
                stream.types = stream.types.substr(0, stream.types.find('\0'));
                break;
            case fourcc("GPSU"):
                stream.gpsuMillis = parseGpsu(item.data);
                break;
            case fourcc("GPSF"):
                stream.fix = static_cast<int>(bytes::be32(item.data, 0));
                break;
            case fourcc("SYST"): {
                // The device clock: seconds since power-on against seconds since 1970.
                auto e = entries(item, stream);
                if (!e.empty() && e[0].size() >= 2) {
                    device_.bootToUnix = e[0][1] - e[0][0];
                }
                break;
            }
            case fourcc("GPS5"):
                gps(item, stream, false);
                break;
            case fourcc("GPS9"):
                gps(item, stream, true);
                break;
            case fourcc("GLPI"):
                fusedPosition(item, stream);
                break;
            case fourcc("ACCL"):
                accelerometer(item, stream);
                break;
            default:
                break;
        }
    }

    double spread(size_t i, size_t n) const { return n == 0 ? 0.0 : duration_ * i / n; }

    // GPS5: latitude, longitude, altitude, 2D and 3D speed (m/s), with the stream's UTC stamp
    // and fix flag. GPS9 adds days since 2000 and seconds since midnight, DOP and the fix.
    void gps(const Item& item, const Stream& stream, bool nine) {
        track_.found = true;
        if (track_.fixes.size() >= RawTrack::kMaxFixes) {
            return;
        }
        auto e = entries(item, stream);
        for (size_t i = 0; i < e.size(); ++i) {
            if (e[i].size() < (nine ? 9u : 5u)) {
                continue;
            }
            Fix f;
            f.offset = start_ + spread(i, e.size());
            f.latitude = e[i][0];
            f.longitude = e[i][1];
            f.speedKmh = e[i][3] * 3.6;
            if (nine) {
                f.valid = e[i][8] >= 2;
                if (auto ms = millisFromSeconds(946684800.0 + e[i][5] * 86400.0 + e[i][6])) {
                    f.hasTime = true;
                    f.utcMillis = *ms;
                }
            } else {
                f.valid = stream.fix ? *stream.fix >= 2 : (f.latitude != 0.0 || f.longitude != 0.0);
                if (stream.gpsuMillis) {
                    f.hasTime = true;
                    f.utcMillis =
                        *stream.gpsuMillis + static_cast<int64_t>(spread(i, e.size()) * 1000);
                }
            }
            track_.addFix(f);
        }
    }

    // The drone's fused position: milliseconds since power-on, position, velocity north,
    // east and down, and the heading.
    void fusedPosition(const Item& item, const Stream& stream) {
        track_.found = true;
        if (track_.fixes.size() >= RawTrack::kMaxFixes) {
            return;
        }
        auto e = entries(item, stream);
        for (size_t i = 0; i < e.size(); ++i) {
            if (e[i].size() < 9) {
                continue;
            }
            Fix f;
            f.offset = start_ + spread(i, e.size());
            f.latitude = e[i][1];
            f.longitude = e[i][2];
            f.speedKmh = std::hypot(e[i][5], e[i][6]) * 3.6;
            f.heading = e[i][8];
            f.valid = f.latitude != 0.0 || f.longitude != 0.0;
            device_.headingKnown = true;
            size_t index = track_.fixes.size();
            if (track_.addFix(f)) {
                pendingClock_.emplace_back(index, e[i][0]);
            }
        }
    }

    void accelerometer(const Item& item, const Stream& stream) {
        track_.found = true;
        if (track_.g.size() >= RawTrack::kMaxReadings) {
            return;
        }
        auto e = entries(item, stream);
        for (size_t i = 0; i < e.size(); ++i) {
            if (e[i].size() < 3) {
                continue;
            }
            track_.addReading(GReading{
                start_ + spread(i, e.size()), e[i][0] / GpmfDecoder::kStandardGravity,
                e[i][1] / GpmfDecoder::kStandardGravity, e[i][2] / GpmfDecoder::kStandardGravity});
        }
    }

    double start_;
    double duration_;
    RawTrack& track_;
    DeviceState& device_;
    std::vector<std::pair<size_t, double>> pendingClock_;
};

// Cameras that store no heading: take the direction to the next fix that moved.
void deriveHeadings(std::vector<Fix>& fixes) {
    constexpr double kMinMoveDegrees = 1e-5;  // about a metre
    double last = 0.0;
    for (size_t i = 0; i < fixes.size(); ++i) {
        if (!fixes[i].valid) {
            continue;
        }
        for (size_t j = i + 1; j < fixes.size(); ++j) {
            if (!fixes[j].valid) {
                continue;
            }
            if (std::abs(fixes[j].latitude - fixes[i].latitude) > kMinMoveDegrees ||
                std::abs(fixes[j].longitude - fixes[i].longitude) > kMinMoveDegrees) {
                last = bearing(fixes[i], fixes[j]);
                break;
            }
            if (j - i > 50) {
                break;  // standing still
            }
        }
        fixes[i].heading = last;
    }
}

}  // namespace

void GpmfDecoder::decodeSample(std::span<const uint8_t> sample, double start, double duration,
                               RawTrack& track) {
    DeviceState device;
    SampleWalker walker(start, duration, track, device);
    Stream top;
    walker.walk(sample, 0, top);
    walker.finish();
}

RawTrack GpmfDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track;
    TrackSampleReader reader(file);
    for (const TrackInfo& t : movie.tracks) {
        if (t.format != fourcc("gpmd")) {
            continue;
        }
        DeviceState device;
        reader.read(t, kMaxSampleBytes, [&](const Sample& s, std::span<const uint8_t> data) {
            SampleWalker walker(s.time, s.duration, track, device);
            Stream top;
            walker.walk(data, 0, top);
            walker.finish();
            return !track.full();
        });
        if (!device.headingKnown) {
            deriveHeadings(track.fixes);
        }
        if (track.found) {
            track.clock = RawTrack::Clock::Media;
            break;
        }
    }
    return track;
}

}  // namespace gpx
