#include "MovieReader.h"

#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"

namespace gpx {

namespace {

// Top-level box types that mark the start of an MP4 or QuickTime movie.
bool isTopLevelType(uint32_t type) {
    switch (type) {
        case fourcc("ftyp"):
        case fourcc("moov"):
        case fourcc("mdat"):
        case fourcc("free"):
        case fourcc("skip"):
        case fourcc("wide"):
        case fourcc("pnot"):
        case fourcc("uuid"):
        case fourcc("styp"):
        case fourcc("moof"):
        case fourcc("PICT"):
            return true;
        default:
            return false;
    }
}

// Reads the movie or media header: version 0 has 32-bit times, version 1 64-bit ones.
void readTimes(const MediaFile& file, const Box& box, uint64_t& creation, uint32_t& timescale,
               uint64_t& duration) {
    auto b = file.bytes(box.payload, 32);
    if (b.size() < 20) {
        return;
    }
    if (b[0] == 1) {
        creation = bytes::be64(b, 4);
        timescale = bytes::be32(b, 20);
        duration = bytes::be64(b, 24);
    } else {
        creation = bytes::be32(b, 4);
        timescale = bytes::be32(b, 12);
        duration = bytes::be32(b, 16);
    }
}

// Top-level boxes a layout reads: the media data (scanned for blocks), the camera's box
// inside 'free', and the 'GPS ' box.
// Top-level boxes a layout reads: the media data, the camera boxes, and the firmware box
// that tells a block look-alike from the classic block.
bool mayHoldGps(uint32_t type) {
    return type == fourcc("mdat") || type == fourcc("free") || type == fourcc("GPS ") ||
           type == fourcc("frea");
}

// Tracks a layout reads: text and subtitles, and timed metadata. Without a timescale no
// sample has a time, so such a track is of no use.
bool mayHoldGps(const TrackInfo& track) {
    bool text = track.handler == fourcc("text") || track.handler == fourcc("sbtl") ||
                track.handler == fourcc("subt");
    return (text || track.format == fourcc("gpmd")) && track.timescale != 0;
}

}  // namespace

MovieInfo MovieReader::read(const MediaFile& file) {
    MovieInfo info;
    BoxReader top(file, 0, file.size());
    bool first = true;
    while (auto box = top.next()) {
        if (first && !isTopLevelType(box->type)) {
            return info;  // not a movie
        }
        // Only the boxes a layout reads are kept, and only so many: a file of millions of
        // tiny boxes must not make millions of entries. The first box stays, as the start of
        // the media data of a recording cut off before its media box was complete.
        if ((first || mayHoldGps(box->type)) && info.topLevel.size() < MovieInfo::kMaxTopLevel) {
            info.topLevel.push_back(*box);
        }
        first = false;
        if (box->type == fourcc("moov") && !info.hasMovieHeader) {
            readMovie(file, *box, info);
        }
    }
    info.isMovie = !first;
    return info;
}

void MovieReader::readMovie(const MediaFile& file, const Box& moov, MovieInfo& info) {
    BoxReader children(file, moov.payload, moov.end);
    while (auto box = children.next()) {
        switch (box->type) {
            case fourcc("mvhd"): {
                uint64_t creation = 0;
                readTimes(file, *box, creation, info.timescale, info.duration);
                info.creationTime = creation;
                info.hasMovieHeader = true;
                break;
            }
            case fourcc("trak"):
                if (info.tracks.size() < MovieInfo::kMaxTracks) {
                    readTrack(file, *box, info);
                }
                break;
            case fourcc("gps "):
                info.novatekIndex = *box;
                break;
            default:
                break;
        }
    }
}

void MovieReader::readTrack(const MediaFile& file, const Box& trak, MovieInfo& info) {
    TrackInfo track;
    BoxReader children(file, trak.payload, trak.end);
    while (auto box = children.next()) {
        if (box->type == fourcc("mdia")) {
            readMedia(file, *box, track, 0);
        }
    }
    if (mayHoldGps(track)) {
        info.tracks.push_back(track);
    }
}

void MovieReader::readMedia(const MediaFile& file, const Box& container, TrackInfo& track,
                            int depth) {
    if (depth > 3) {
        return;
    }
    BoxReader children(file, container.payload, container.end);
    while (auto box = children.next()) {
        switch (box->type) {
            case fourcc("mdhd"): {
                uint64_t creation = 0;
                readTimes(file, *box, creation, track.timescale, track.duration);
                break;
            }
            case fourcc("hdlr"): {
                auto b = file.bytes(box->payload, 12);
                track.handler = bytes::be32(b, 8);
                break;
            }
            case fourcc("minf"):
            case fourcc("stbl"):
                readMedia(file, *box, track, depth + 1);
                break;
            case fourcc("stsd"): {
                // version and flags, entry count, then the first entry: size and format
                auto b = file.bytes(box->payload, 16);
                if (bytes::be32(b, 4) > 0) {
                    track.format = bytes::be32(b, 12);
                }
                break;
            }
            case fourcc("stts"):
                track.stts = *box;
                break;
            case fourcc("stsc"):
                track.stsc = *box;
                break;
            case fourcc("stsz"):
                track.stsz = *box;
                break;
            case fourcc("stz2"):
                track.stz2 = *box;
                break;
            case fourcc("stco"):
                track.stco = *box;
                break;
            case fourcc("co64"):
                track.co64 = *box;
                break;
            default:
                break;
        }
    }
}

}  // namespace gpx
