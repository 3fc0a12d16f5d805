#include "NovatekDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

#include "BatchReader.h"
#include "Bytes.h"
#include "CivilTime.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"

namespace gpx {

namespace {

constexpr double kKnotsToKmh = 1.852;
constexpr std::string_view kMagic = "freeGPS ";

// The cameras store DDMM.MMMM as an unsigned float; the hemisphere letter gives the sign.
double degreesFromDdmm(double v) {
    double whole = std::trunc(v / 100.0);
    return whole + (v - 100.0 * whole) / 60.0;
}

bool isNs(uint8_t c) {
    return c == 'N' || c == 'S';
}
bool isEw(uint8_t c) {
    return c == 'E' || c == 'W';
}

// The camera's wall clock as UTC, for firmware that writes local time: converted with the
// zone of the machine the viewer runs on, as the camera's owner usually lives in it.
int64_t localToUtc(const CivilTime& local) {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    return t == static_cast<std::time_t>(-1) ? local.toUnix() : static_cast<int64_t>(t);
}

// Reads the six u32 time fields at `at` (hour, minute, second, year, month, day).
bool readTime(bytes::Span b, size_t at, Fix& fix, bool allowLocal) {
    CivilTime t;
    t.hour = static_cast<int>(bytes::le32(b, at));
    t.minute = static_cast<int>(bytes::le32(b, at + 4));
    t.second = static_cast<int>(bytes::le32(b, at + 8));
    uint32_t year = bytes::le32(b, at + 12);
    t.month = static_cast<int>(bytes::le32(b, at + 16));
    t.day = static_cast<int>(bytes::le32(b, at + 20));
    if (year > 9999 || bytes::le32(b, at) > 23 || bytes::le32(b, at + 16) > 12 ||
        bytes::le32(b, at + 20) > 31) {
        return false;
    }
    bool local = year >= 2000;
    t.year = static_cast<int>(local ? year : year + 2000);
    if (!t.isValid()) {
        return false;
    }
    fix.hasTime = true;
    fix.utcMillis = 1000 * ((local && allowLocal) ? localToUtc(t) : t.toUnix());
    return true;
}

void readPosition(bytes::Span b, size_t at, uint8_t ns, uint8_t ew, Fix& fix) {
    double lat = degreesFromDdmm(std::abs(bytes::le32f(b, at)));
    double lon = degreesFromDdmm(std::abs(bytes::le32f(b, at + 4)));
    fix.latitude = ns == 'S' ? -lat : lat;
    fix.longitude = ew == 'W' ? -lon : lon;
    fix.speedKmh = static_cast<double>(bytes::le32f(b, at + 8)) * kKnotsToKmh;
    fix.heading = bytes::le32f(b, at + 12);
    if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude) ||
        std::abs(fix.latitude) > 90.0 || std::abs(fix.longitude) > 180.0) {
        fix.valid = false;
    }
}

std::optional<GReading> readAccelerometer(bytes::Span b, size_t at) {
    if (!bytes::has(b, at, 12)) {
        return std::nullopt;
    }
    static constexpr uint8_t kCounting[12] = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
    static constexpr uint8_t kZero[12] = {};
    // Firmware without a sensor leaves zeros, or 16-bit numbers counting from 1 to 6.
    if (std::memcmp(b.data() + at, kZero, 12) == 0 ||
        std::memcmp(b.data() + at, kCounting, 12) == 0) {
        return std::nullopt;
    }
    return GReading{0.0, bytes::le32s(b, at) / 256.0, bytes::le32s(b, at + 4) / 256.0,
                    bytes::le32s(b, at + 8) / 256.0};
}

}  // namespace

std::optional<NovatekDecoder::Block> NovatekDecoder::decodeBlock(std::span<const uint8_t> b) {
    if (!bytes::matches(b, 4, kMagic)) {
        return std::nullopt;
    }
    Block block;
    bool zeroPad = bytes::u8(b, 0x25) == 0 && bytes::u8(b, 0x26) == 0 && bytes::u8(b, 0x27) == 0;
    uint8_t s28 = bytes::u8(b, 0x28);
    uint8_t s48 = bytes::u8(b, 0x48);
    // The layout with accelerometer: a status at 0x28 right after the day field.
    if (zeroPad && s28 == 'A' && isNs(bytes::u8(b, 0x29)) && isEw(bytes::u8(b, 0x2A))) {
        block.fix.valid = true;
        readTime(b, 0x10, block.fix, true);
        readPosition(b, 0x2C, bytes::u8(b, 0x29), bytes::u8(b, 0x2A), block.fix);
        block.g = readAccelerometer(b, 0x3C);
        return block;
    }
    // The classic layout.
    if ((s48 == 'A' && isNs(bytes::u8(b, 0x49)) && isEw(bytes::u8(b, 0x4A))) || s48 == 'V') {
        block.fix.valid = s48 == 'A';
        readTime(b, 0x30, block.fix, false);
        if (block.fix.valid) {
            readPosition(b, 0x4C, bytes::u8(b, 0x49), bytes::u8(b, 0x4A), block.fix);
        }
        return block;
    }
    // A void second in the layout with accelerometer: the sensor still reports.
    if (zeroPad && s28 == 'V') {
        readTime(b, 0x10, block.fix, true);
        block.g = readAccelerometer(b, 0x3C);
        return block;
    }
    return std::nullopt;
}

RawTrack NovatekDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track = fromIndex(file, movie);
    track.clock = RawTrack::Clock::Order;
    if (track.fixes.empty() && track.g.empty()) {
        // The index is missing (a recording cut off before its movie was written) or its
        // 32-bit offsets do not reach the blocks: look for the blocks themselves.
        RawTrack scanned = scan(file, movie, 0);
        if (scanned.found) {
            return scanned;
        }
    }
    return track;
}

RawTrack NovatekDecoder::fromIndex(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track;
    if (!movie.novatekIndex) {
        return track;
    }
    const Box& index = *movie.novatekIndex;
    track.found = true;
    auto head = file.bytes(index.payload, 8);
    uint64_t count = std::min<uint64_t>(bytes::be32(head, 4), index.payloadSize() / 8);

    // The index position of a block is its second.
    BatchReader reader(file, [&track](size_t second, std::span<const uint8_t> block) {
        auto decoded = decodeBlock(block);
        if (!decoded) {
            return;
        }
        decoded->fix.offset = static_cast<double>(second);
        track.fixes.push_back(decoded->fix);
        if (decoded->g) {
            decoded->g->offset = static_cast<double>(second);
            track.g.push_back(*decoded->g);
        }
    });
    // Entries are read in slices so a long recording never needs one big buffer.
    constexpr uint64_t kSlice = 4096;
    track.fixes.reserve(static_cast<size_t>(std::min<uint64_t>(count, kSlice)));
    for (uint64_t first = 0; first < count; first += kSlice) {
        uint64_t n = std::min(kSlice, count - first);
        auto entries = file.bytes(index.payload + 8 + first * 8, static_cast<size_t>(n * 8));
        for (uint64_t i = 0; i < n && bytes::has(entries, i * 8, 8); ++i) {
            uint64_t offset = bytes::be32(entries, i * 8);
            uint64_t size = bytes::be32(entries, i * 8 + 4);
            if (offset == 0 || size == 0) {
                continue;  // the camera wrote no block for this second
            }
            reader.read(static_cast<size_t>(first + i), offset,
                        std::min<uint64_t>(size, kBlockBytes));
        }
    }
    reader.flush();
    return track;
}

RawTrack NovatekDecoder::scan(const MediaFile& file, const MovieInfo& movie, uint64_t probeLimit) {
    RawTrack track;
    track.clock = RawTrack::Clock::Order;
    // Scan every media data box; a file cut off before its first box header was complete
    // has none, and then everything after the file type box is scanned.
    std::vector<std::pair<uint64_t, uint64_t>> ranges;
    for (const Box& box : movie.topLevel) {
        if (box.type == fourcc("mdat")) {
            ranges.emplace_back(box.payload, box.end);
        }
    }
    if (ranges.empty()) {
        uint64_t from = movie.topLevel.empty() ? 0 : movie.topLevel.front().end;
        ranges.emplace_back(from, file.size());
    }

    std::vector<uint8_t> chunk(kScanChunk + kMagic.size());
    std::vector<uint8_t> block(kBlockBytes);
    uint64_t nextSecond = 0;
    for (auto [begin, end] : ranges) {
        uint64_t pos = begin;
        while (pos < end) {
            if (probeLimit != 0 && !track.found && pos - begin >= probeLimit) {
                break;
            }
            size_t want = static_cast<size_t>(std::min<uint64_t>(chunk.size(), end - pos));
            size_t got = file.read(pos, chunk.data(), want);
            if (got < kMagic.size()) {
                break;
            }
            const uint8_t* data = chunk.data();
            size_t at = 0;
            while (at + kMagic.size() <= got) {
                const void* hit = memmem(data + at, got - at, kMagic.data(), kMagic.size());
                if (hit == nullptr) {
                    break;
                }
                size_t found = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data);
                at = found + 1;
                if (pos + found < begin + 4) {
                    continue;  // no room for the size field in front of it
                }
                uint64_t blockStart = pos + found - 4;
                size_t n = file.read(blockStart, block.data(), block.size());
                auto decoded = decodeBlock(std::span<const uint8_t>(block.data(), n));
                if (!decoded) {
                    continue;
                }
                track.found = true;
                double second = static_cast<double>(nextSecond++);
                decoded->fix.offset = second;
                track.fixes.push_back(decoded->fix);
                if (decoded->g) {
                    decoded->g->offset = second;
                    track.g.push_back(*decoded->g);
                }
            }
            if (pos + got >= end) {
                break;
            }
            // Step so that a marker split across two reads is found in the next one.
            pos += got - (kMagic.size() - 1);
        }
    }
    return track;
}

}  // namespace gpx
