#include "BlackVueDecoder.h"

#include <algorithm>
#include <vector>

#include "BoxReader.h"
#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "NmeaParser.h"

namespace gpx {

namespace {

bool isCameraChild(uint32_t type) {
    switch (type) {
        case fourcc("cprt"):
        case fourcc("sttm"):
        case fourcc("ptnm"):
        case fourcc("ptrh"):
        case fourcc("thum"):
        case fourcc("gps "):
        case fourcc("3gf "):
            return true;
        default:
            return false;
    }
}

std::vector<uint8_t> boxBytes(const MediaFile& file, const Box& box) {
    uint64_t n = std::min<uint64_t>(box.payloadSize(), BlackVueDecoder::kMaxBoxBytes);
    return file.bytes(box.payload, static_cast<size_t>(n));
}

constexpr int64_t kNoStamp = -1;

bool isClockMillis(int64_t ms) {
    return ms >= 0 && ms <= BlackVueDecoder::kMaxClockMillis;
}

}  // namespace

void BlackVueDecoder::readGpsLog(std::string_view text, std::optional<int64_t> startMillis,
                                 RawTrack& track) {
    // The log ends at the first NUL; the box is padded after it.
    text = text.substr(0, text.find('\0'));
    // A start time or stamp no clock gives is damage, and would overflow the sums below.
    bool hasStart = startMillis && isClockMillis(*startMillis);
    int64_t start = hasStart ? *startMillis : 0;
    bool startKnown = hasStart;   // else the first stamp stands in for it
    std::vector<int64_t> stamps;  // the stamp of each fix, when it has one
    NmeaParser::forEachLine(text, [&](NmeaLine&& line) {
        bool stamped = line.stamp && isClockMillis(*line.stamp);
        int64_t stamp = stamped ? *line.stamp : kNoStamp;
        for (const RmcSentence& rmc : line.rmc) {
            Fix f = rmc.toFix(0.0);
            // The stamps and the start time are both on the camera's local clock, so their
            // difference is the place in the recording whatever the zone.
            if (stamped) {
                if (!startKnown) {
                    start = stamp;
                    startKnown = true;
                }
                f.offset = std::max<int64_t>(0, stamp - start) / 1000.0;
            } else if (!track.fixes.empty()) {
                f.offset = track.fixes.back().offset + 1.0;
            }
            if (!track.addFix(f)) {
                return false;
            }
            stamps.push_back(stamp);
        }
        return true;
    });
    if (!hasStart) {
        track.clock = RawTrack::Clock::Stamp;
        return;
    }
    // The stamps run up to a second and a half behind the GNSS time, unevenly, so a fix is
    // placed by its GNSS time instead: the recording started at the camera's start time less
    // its zone, and the zone is what the stamps show ahead of the GNSS times, rounded to the
    // quarter hour as every zone is.
    std::vector<int64_t> ahead;
    for (size_t i = 0; i < track.fixes.size(); ++i) {
        const Fix& f = track.fixes[i];
        if (f.valid && f.hasTime && stamps[i] != kNoStamp) {
            ahead.push_back(stamps[i] - f.utcMillis);
        }
    }
    if (ahead.empty()) {
        track.clock = RawTrack::Clock::Stamp;
        return;
    }
    std::nth_element(ahead.begin(), ahead.begin() + long(ahead.size() / 2), ahead.end());
    constexpr int64_t kQuarterHour = 15 * 60 * 1000;
    int64_t median = ahead[ahead.size() / 2];
    int64_t zone = (median >= 0 ? (median + kQuarterHour / 2) : (median - kQuarterHour / 2)) /
                   kQuarterHour * kQuarterHour;
    int64_t startUtc = start - zone;
    for (Fix& f : track.fixes) {
        if (f.hasTime) {
            f.offset = (f.utcMillis - startUtc) / 1000.0;
        }
    }
    track.clock = RawTrack::Clock::Media;
}

void BlackVueDecoder::readAccelerometer(std::span<const uint8_t> records, RawTrack& track) {
    for (size_t at = 0; bytes::has(records, at, 10); at += 10) {
        uint32_t ms = bytes::be32(records, at);
        if (ms == 0xFFFFFFFFu) {
            break;  // the end marker: ten 0xFF bytes
        }
        if (!track.addReading(GReading{ms / 1000.0, bytes::be16s(records, at + 4) / kCountsPerG,
                                       bytes::be16s(records, at + 6) / kCountsPerG,
                                       bytes::be16s(records, at + 8) / kCountsPerG})) {
            break;
        }
    }
}

RawTrack BlackVueDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track;
    for (const Box& top : movie.topLevel) {
        if (top.type != fourcc("free") || top.payloadSize() < 8) {
            continue;
        }
        auto first = file.bytes(top.payload, 8);
        if (!isCameraChild(bytes::be32(first, 4))) {
            continue;  // an ordinary free box: padding
        }
        track.found = true;
        std::optional<int64_t> start;
        std::optional<Box> gps;
        BoxReader children(file, top.payload, top.end);
        while (auto child = children.next()) {
            if (child->type == fourcc("sttm")) {
                auto b = file.bytes(child->payload, 8);
                if (b.size() == 8 && bytes::be64(b, 0) <= uint64_t(kMaxClockMillis)) {
                    start = static_cast<int64_t>(bytes::be64(b, 0));
                }
            } else if (child->type == fourcc("gps ")) {
                gps = *child;
            } else if (child->type == fourcc("3gf ")) {
                readAccelerometer(boxBytes(file, *child), track);
            }
        }
        if (gps) {
            auto text = boxBytes(file, *gps);
            readGpsLog(bytes::text(text, 0, text.size()), start, track);
        }
        break;
    }
    return track;
}

}  // namespace gpx
