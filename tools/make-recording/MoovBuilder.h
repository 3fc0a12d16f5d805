#pragma once

#include <cstdint>
#include <vector>

#include "Atom.h"

namespace makerec {

class Route;
struct Embedding;

// Turns ffmpeg's moov into the recording's: the movie lasts exactly the route and was created
// at its start, every chunk offset follows the media data to its new place, and the layout's
// tracks and Novatek index are added.
class MoovBuilder {
  public:
    MoovBuilder(const Atom& sourceMoov, const Route& route, const Embedding& embedding);

    // The largest chunk offset any track will have; decides whether co64 is needed.
    uint64_t largestChunkOffset(int64_t mediaShift, uint64_t payloadBase) const;

    // mediaShift: how far ffmpeg's media data moved; payloadBase: file offset of the
    // layout's payload. The moov's size depends only on co64, never on the offsets.
    Atom build(int64_t mediaShift, uint64_t payloadBase, bool co64) const;

  private:
    void editMovieHeader(Atom& mvhd, uint32_t nextTrackId) const;
    uint32_t editTrack(Atom& trak, const std::vector<uint64_t>& offsets, int64_t mediaShift,
                       bool co64) const;
    Atom novatekIndex(uint64_t payloadBase) const;

    const Atom& source_;
    const Route& route_;
    const Embedding& embedding_;
    uint32_t movieTimescale_ = 1000;
    std::vector<std::vector<uint64_t>> chunkOffsets_;  // per source track, in file order
};

}  // namespace makerec
