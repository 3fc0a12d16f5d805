#include "Extractor.h"

#include "BlackVueDecoder.h"
#include "GpmfDecoder.h"
#include "GpsBoxDecoder.h"
#include "MediaFile.h"
#include "MovieReader.h"
#include "NovatekDecoder.h"
#include "SecondTimeline.h"
#include "TextTrackDecoder.h"

namespace gpx {

Extractor::Result Extractor::extract(const std::string& path) {
    MediaFile file;
    if (int err = file.open(path); err != 0) {
        Result r;
        r.outcome = Outcome::Unreadable;
        r.error = err;
        return r;
    }
    return extract(file);
}

Extractor::Result Extractor::extract(const MediaFile& file) {
    Result result;
    MovieInfo movie = MovieReader::read(file);
    if (!movie.isMovie) {
        result.outcome = Outcome::NotAMovie;
        return result;
    }
    result.outcome = Outcome::Extracted;

    // A layout counts only when it gave samples: an empty index or an empty camera box
    // must not hide a track that holds the GPS. The first layout found empty is kept for a
    // recording that has nothing else, so it still gets its no-fix seconds.
    RawTrack track;
    RawTrack foundEmpty;
    auto tried = [&](RawTrack candidate) {
        if (carriesSamples(candidate)) {
            track = std::move(candidate);
        } else if (candidate.found && !foundEmpty.found) {
            foundEmpty = std::move(candidate);
        }
        return carriesSamples(track);
    };
    using Decode = RawTrack (*)(const MediaFile&, const MovieInfo&);
    bool done = movie.novatekIndex && tried(NovatekDecoder::decode(file, movie));
    for (Decode decode : {&BlackVueDecoder::decode, &TextTrackDecoder::decode, &GpmfDecoder::decode,
                          &GpsBoxDecoder::decode}) {
        if (done) {
            break;
        }
        done = tried(decode(file, movie));
    }
    if (!done && !movie.novatekIndex) {
        // A recording cut off before its movie was written is scanned whole; one with a
        // movie but no index only as far as its blocks would have shown up. (With an index
        // the decoder has scanned already.)
        done = tried(NovatekDecoder::scan(file, movie, movie.hasMovieHeader ? kProbeBytes : 0));
    }
    if (!done) {
        track = std::move(foundEmpty);
    }

    // A header length of 0 is what fragmented recordings write: the data's span counts.
    double duration = movie.durationSeconds();
    bool headerLength = duration > 0.0;
    if (track.found) {
        result.samples = SecondTimeline::build(track, headerLength ? duration : -1.0);
    }
    result.duration = headerLength ? duration : static_cast<double>(result.samples.size());
    return result;
}

bool Extractor::carriesSamples(const RawTrack& track) {
    return track.found && (!track.fixes.empty() || !track.g.empty());
}

}  // namespace gpx
