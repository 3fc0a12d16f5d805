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

    RawTrack track;
    if (movie.novatekIndex) {
        track = NovatekDecoder::decode(file, movie);
    }
    using Decode = RawTrack (*)(const MediaFile&, const MovieInfo&);
    for (Decode decode : {&BlackVueDecoder::decode, &TextTrackDecoder::decode, &GpmfDecoder::decode,
                          &GpsBoxDecoder::decode}) {
        if (track.found) {
            break;
        }
        track = decode(file, movie);
    }
    if (!track.found && !movie.novatekIndex) {
        // A recording cut off before its movie was written is scanned whole; one with a
        // movie but no index only as far as its blocks would have shown up.
        track = NovatekDecoder::scan(file, movie, movie.hasMovieHeader ? kProbeBytes : 0);
    }

    double duration = movie.durationSeconds();
    if (track.found) {
        result.samples = SecondTimeline::build(track, duration);
    }
    result.duration = duration >= 0.0 ? duration : static_cast<double>(result.samples.size());
    return result;
}

}  // namespace gpx
