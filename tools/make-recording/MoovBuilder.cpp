#include "MoovBuilder.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "Embedding.h"
#include "Route.h"
#include "ToolError.h"

namespace makerec {

namespace {

// Where a full box keeps its times: version 0 uses 32-bit fields, version 1 64-bit ones.
// Offsets count from the start of the payload (the version byte).
struct TimeFields {
    bool wide;
    size_t created;
    size_t modified;
    size_t timescale;  // 0 when the box has none (tkhd)
    size_t duration;
};

TimeFields timeFields(const Atom& box) {
    const bool wide = box.payload().size() > 0 && box.payload()[0] == 1;
    if (box.type() == "tkhd") {
        return wide ? TimeFields{true, 4, 12, 0, 28} : TimeFields{false, 4, 8, 0, 20};
    }
    return wide ? TimeFields{true, 4, 12, 20, 24} : TimeFields{false, 4, 8, 12, 16};
}

uint64_t load(const Bytes& b, size_t at, bool wide) {
    if (at + (wide ? 8 : 4) > b.size()) {
        throw ToolError("ffmpeg wrote a short header box");
    }
    return wide ? Bytes::loadU64be(b.data() + at) : Bytes::loadU32be(b.data() + at);
}

void store(Bytes& b, size_t at, bool wide, uint64_t value) {
    if (wide) {
        b.setU64be(at, value);
    } else {
        b.setU32be(at, static_cast<uint32_t>(value));
    }
}

// Creation time becomes the route's start; the duration may stay as ffmpeg had it but
// never longer than the route (AAC's priming samples make ffmpeg's sound media run over).
void setTimes(Atom& box, uint64_t created, uint64_t seconds, uint32_t timescale) {
    const TimeFields f = timeFields(box);
    Bytes& b = box.payload();
    if (f.timescale != 0) {
        timescale = static_cast<uint32_t>(load(b, f.timescale, false));
    }
    store(b, f.created, f.wide, created);
    store(b, f.modified, f.wide, created);
    const uint64_t limit = seconds * timescale;
    store(b, f.duration, f.wide, std::min(load(b, f.duration, f.wide), limit));
}

std::vector<uint64_t> readChunkOffsets(const Atom& trak) {
    const Atom* stbl = trak.find({"mdia", "minf", "stbl"});
    const Atom* box = stbl == nullptr ? nullptr : stbl->child("stco");
    const bool wide = box == nullptr;
    if (wide) {
        box = stbl == nullptr ? nullptr : stbl->child("co64");
    }
    if (box == nullptr) {
        throw ToolError("ffmpeg wrote a track without chunk offsets");
    }
    const Bytes& b = box->payload();
    const uint64_t count = load(b, 4, false);
    std::vector<uint64_t> offsets;
    for (uint64_t i = 0; i < count; ++i) {
        offsets.push_back(load(b, 8 + static_cast<size_t>(i) * (wide ? 8 : 4), wide));
    }
    return offsets;
}

}  // namespace

MoovBuilder::MoovBuilder(const Atom& sourceMoov, const Route& route, const Embedding& embedding)
    : source_(sourceMoov), route_(route), embedding_(embedding) {
    const Atom* mvhd = source_.child("mvhd");
    if (mvhd == nullptr) {
        throw ToolError("ffmpeg wrote a movie without mvhd");
    }
    movieTimescale_ =
        static_cast<uint32_t>(load(mvhd->payload(), timeFields(*mvhd).timescale, false));
    for (const Atom& child : source_.children()) {
        if (child.type() == "trak") {
            chunkOffsets_.push_back(readChunkOffsets(child));
        }
    }
}

uint64_t MoovBuilder::largestChunkOffset(int64_t mediaShift, uint64_t payloadBase) const {
    uint64_t largest = 0;
    for (const std::vector<uint64_t>& offsets : chunkOffsets_) {
        for (uint64_t o : offsets) {
            largest =
                std::max(largest, static_cast<uint64_t>(static_cast<int64_t>(o) + mediaShift));
        }
    }
    for (const MetadataTrack& track : embedding_.tracks) {
        for (const PayloadSlice& s : track.samples()) {
            largest = std::max(largest, payloadBase + s.offset);
        }
    }
    return largest;
}

void MoovBuilder::editMovieHeader(Atom& mvhd, uint32_t nextTrackId) const {
    const uint64_t created = static_cast<uint64_t>(route_.start().movieSeconds());
    const TimeFields f = timeFields(mvhd);
    Bytes& b = mvhd.payload();
    store(b, f.created, f.wide, created);
    store(b, f.modified, f.wide, created);
    // The movie's duration is the recording's length: exactly the route.
    store(b, f.duration, f.wide, uint64_t{route_.length()} * movieTimescale_);
    b.setU32be(b.size() - 4, nextTrackId);
}

uint32_t MoovBuilder::editTrack(Atom& trak, const std::vector<uint64_t>& offsets,
                                int64_t mediaShift, bool co64) const {
    const uint64_t created = static_cast<uint64_t>(route_.start().movieSeconds());
    Atom* tkhd = trak.child("tkhd");
    Atom* mdhd = trak.find({"mdia", "mdhd"});
    Atom* stbl = trak.find({"mdia", "minf", "stbl"});
    if (tkhd == nullptr || mdhd == nullptr || stbl == nullptr) {
        throw ToolError("ffmpeg wrote a track without tkhd, mdhd or stbl");
    }
    setTimes(*tkhd, created, route_.length(), movieTimescale_);
    setTimes(*mdhd, created, route_.length(), 0);

    Bytes table;
    table.u32be(static_cast<uint32_t>(offsets.size()));
    for (uint64_t o : offsets) {
        const uint64_t moved = static_cast<uint64_t>(static_cast<int64_t>(o) + mediaShift);
        if (co64) {
            table.u64be(moved);
        } else if (moved > std::numeric_limits<uint32_t>::max()) {
            throw ToolError("a chunk offset beyond 4 GiB needs co64");
        } else {
            table.u32be(static_cast<uint32_t>(moved));
        }
    }
    std::vector<Atom>& boxes = stbl->children();
    for (Atom& box : boxes) {
        if (box.type() == "stco" || box.type() == "co64") {
            box = Atom::full(co64 ? "co64" : "stco", 0, 0, table);
        }
    }
    // The track ID sits just before a reserved word and the duration, in both versions.
    return static_cast<uint32_t>(load(tkhd->payload(), timeFields(*tkhd).duration - 8, false));
}

Atom MoovBuilder::novatekIndex(uint64_t payloadBase) const {
    Bytes b;
    b.u32be(0x101);
    b.u32be(static_cast<uint32_t>(embedding_.blockIndex->size()));
    for (const PayloadSlice& s : *embedding_.blockIndex) {
        // The index has 32-bit offsets only: past 4 GiB they wrap, as on a camera's index,
        // and a reader has to find the blocks by scanning (use --pad-after to avoid it).
        b.u32be(s.present ? static_cast<uint32_t>(payloadBase + s.offset) : 0);
        b.u32be(s.present ? s.size : 0);
    }
    return Atom("gps ", std::move(b));
}

Atom MoovBuilder::build(int64_t mediaShift, uint64_t payloadBase, bool co64) const {
    Atom moov = source_;
    std::vector<Atom>& children = moov.children();
    uint32_t lastTrackId = 0;
    size_t afterLastTrack = 0;
    size_t track = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].type() == "trak") {
            lastTrackId = std::max(
                lastTrackId, editTrack(children[i], chunkOffsets_[track++], mediaShift, co64));
            afterLastTrack = i + 1;
        }
    }

    TrackClock clock;
    clock.created = route_.start().movieSeconds();
    clock.movieTimescale = movieTimescale_;
    clock.seconds = static_cast<uint32_t>(route_.length());
    std::vector<Atom> added;
    for (const MetadataTrack& t : embedding_.tracks) {
        added.push_back(t.trak(++lastTrackId, payloadBase, co64, clock));
    }
    // The index goes right after the tracks, ahead of ffmpeg's udta: exiftool 12.57, our
    // independent check, ignores a moov/gps that follows a udta with an 'mdir' meta box.
    if (embedding_.blockIndex) {
        added.push_back(novatekIndex(payloadBase));
    }
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(afterLastTrack), added.begin(),
                    added.end());
    editMovieHeader(*moov.child("mvhd"), lastTrackId + 1);
    return moov;
}

}  // namespace makerec
