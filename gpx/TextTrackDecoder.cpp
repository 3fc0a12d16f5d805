#include "TextTrackDecoder.h"

#include <algorithm>

#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "NmeaParser.h"
#include "SampleTable.h"

namespace gpx {

namespace {

bool isTextTrack(const TrackInfo& t) {
    return t.handler == fourcc("text") || t.handler == fourcc("sbtl") ||
           t.handler == fourcc("subt");
}

// A text sample is a 16-bit length and the text; trailing style boxes are ignored.
constexpr size_t kMaxSampleText = 64 * 1024;

}  // namespace

RawTrack TextTrackDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack out;
    for (const TrackInfo& track : movie.tracks) {
        if (!isTextTrack(track)) {
            continue;
        }
        RawTrack candidate;
        for (const Sample& s : SampleTable::read(file, track)) {
            auto data = file.bytes(s.offset, std::min<size_t>(s.size, kMaxSampleText + 2));
            size_t length =
                std::min<size_t>(bytes::be16(data, 0), data.size() >= 2 ? data.size() - 2 : 0);
            std::string_view text = bytes::text(data, 2, length);
            for (const NmeaLine& line : NmeaParser::parseText(text)) {
                for (const RmcSentence& rmc : line.rmc) {
                    Fix f;
                    f.offset = s.time;
                    f.valid = rmc.valid;
                    f.hasTime = rmc.hasUtc();
                    if (f.hasTime) {
                        f.utcMillis = rmc.utcMillis();
                    }
                    f.latitude = rmc.latitude;
                    f.longitude = rmc.longitude;
                    f.speedKmh = rmc.speedKmh;
                    f.heading = rmc.course;
                    candidate.fixes.push_back(f);
                }
                for (const GSensorSentence& g : line.gsensor) {
                    candidate.g.push_back(GReading{s.time, g.x, g.y, g.z});
                }
            }
        }
        if (!candidate.fixes.empty() || !candidate.g.empty()) {
            candidate.found = true;
            candidate.mediaClock = true;
            return candidate;  // the first text track that carries GPS
        }
    }
    return out;
}

}  // namespace gpx
