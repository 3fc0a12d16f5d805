#include "GpsBoxDecoder.h"

#include <algorithm>

#include "Bytes.h"
#include "CivilTime.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"

namespace gpx {

namespace {

// DDMM.MMM × 1000 as an integer, split exactly.
double degreesFromScaled(uint32_t v) {
    return (v / 100000) + (v % 100000) / 1000.0 / 60.0;
}

}  // namespace

RawTrack GpsBoxDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track;
    for (const Box& top : movie.topLevel) {
        if (top.type != fourcc("GPS ")) {
            continue;
        }
        track.found = true;
        track.clock = RawTrack::Clock::Media;
        if (movie.hasMovieHeader && movie.creationTime != 0) {
            track.startUtc =
                static_cast<int64_t>(movie.creationTime) - CivilTime::kSeconds1904To1970;
        }
        uint64_t count = std::min<uint64_t>(top.payloadSize() / kRecordSize, RawTrack::kMaxFixes);
        constexpr uint64_t kSlice = 4096;
        for (uint64_t first = 0; first < count; first += kSlice) {
            uint64_t n = std::min(kSlice, count - first);
            auto b =
                file.bytes(top.payload + first * kRecordSize, static_cast<size_t>(n * kRecordSize));
            for (uint64_t i = 0; i < n && bytes::has(b, i * kRecordSize, kRecordSize); ++i) {
                bytes::Span r(b.data() + i * kRecordSize, kRecordSize);
                if (std::all_of(r.begin(), r.end(), [](uint8_t c) { return c == 0; })) {
                    return track;  // the closing all-zero record
                }
                Fix f;
                f.offset = bytes::le32(r, 8);
                f.speedKmh = bytes::le32(r, 12) / 1000.0;
                uint8_t ns = bytes::u8(r, 16);
                uint8_t ew = bytes::u8(r, 21);
                f.valid = (ns == 'N' || ns == 'S') && (ew == 'E' || ew == 'W');
                if (f.valid) {
                    double lat = degreesFromScaled(bytes::le32(r, 17));
                    double lon = degreesFromScaled(bytes::le32(r, 22));
                    f.latitude = ns == 'S' ? -lat : lat;
                    f.longitude = ew == 'W' ? -lon : lon;
                }
                if (!track.addFix(f)) {
                    return track;
                }
            }
        }
        break;
    }
    return track;
}

}  // namespace gpx
