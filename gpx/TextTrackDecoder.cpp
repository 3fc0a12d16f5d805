#include "TextTrackDecoder.h"

#include <algorithm>

#include "BatchReader.h"
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
        std::vector<Sample> samples = SampleTable::read(file, track);
        BatchReader reader(file, [&](size_t i, std::span<const uint8_t> data) {
            const Sample& s = samples[i];
            size_t length =
                std::min<size_t>(bytes::be16(data, 0), data.size() >= 2 ? data.size() - 2 : 0);
            std::string_view text = bytes::text(data, 2, length);
            for (const NmeaLine& line : NmeaParser::parseText(text)) {
                for (const RmcSentence& rmc : line.rmc) {
                    candidate.fixes.push_back(rmc.toFix(s.time));
                }
                for (const GSensorSentence& g : line.gsensor) {
                    candidate.g.push_back(GReading{s.time, g.x, g.y, g.z});
                }
            }
        });
        for (size_t i = 0; i < samples.size(); ++i) {
            reader.read(i, samples[i].offset,
                        std::min<uint64_t>(samples[i].size, kMaxSampleText + 2));
        }
        reader.flush();
        if (!candidate.fixes.empty() || !candidate.g.empty()) {
            candidate.found = true;
            candidate.clock = RawTrack::Clock::Media;
            return candidate;  // the first text track that carries GPS
        }
    }
    return out;
}

}  // namespace gpx
