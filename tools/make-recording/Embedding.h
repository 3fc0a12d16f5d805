#pragma once

#include <optional>
#include <vector>

#include "Atom.h"
#include "Bytes.h"
#include "MetadataTrack.h"
#include "PayloadSlice.h"

namespace makerec {

// Everything a camera layout adds to ffmpeg's movie.
struct Embedding {
    std::vector<Atom> topLevel;         // written between ftyp and mdat
    Bytes payload;                      // appended to the media data inside mdat
    std::vector<MetadataTrack> tracks;  // new tracks whose samples live in the payload
    // A Novatek index for moov/gps: one entry per second, pointing into the payload.
    std::optional<std::vector<PayloadSlice>> blockIndex;
};

}  // namespace makerec
