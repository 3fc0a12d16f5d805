#include "TextTrackDecoder.h"

#include <algorithm>

#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "NmeaParser.h"
#include "TrackSampleReader.h"

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
    TrackSampleReader reader(file);
    for (const TrackInfo& track : movie.tracks) {
        if (!isTextTrack(track)) {
            continue;
        }
        RawTrack candidate;
        reader.read(track, kMaxSampleText + 2, [&](const Sample& s, std::span<const uint8_t> data) {
            size_t length =
                std::min<size_t>(bytes::be16(data, 0), data.size() >= 2 ? data.size() - 2 : 0);
            std::string_view text = bytes::text(data, 2, length);
            for (const NmeaLine& line : NmeaParser::parseText(text)) {
                for (const RmcSentence& rmc : line.rmc) {
                    candidate.addFix(rmc.toFix(s.time));
                }
                for (const GSensorSentence& g : line.gsensor) {
                    candidate.addReading(GReading{s.time, g.x, g.y, g.z});
                }
            }
            return !candidate.full();
        });
        if (!candidate.fixes.empty() || !candidate.g.empty()) {
            candidate.found = true;
            candidate.clock = RawTrack::Clock::Media;
            return candidate;  // the first text track that carries GPS
        }
    }
    return out;
}

}  // namespace gpx
