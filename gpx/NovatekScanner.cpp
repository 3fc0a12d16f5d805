#include "NovatekScanner.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "SecondTimeline.h"

namespace gpx {

namespace {

constexpr std::string_view kMagic = "freeGPS ";
constexpr size_t kMagicAt = 4;  // the marker follows the block's size field

// The next block marker in [from, end), or nullptr. Looking for its first letter and then
// the rest stays fast where markers are dense, as in a file made of nothing else.
const uint8_t* findMarker(const uint8_t* from, const uint8_t* end) {
    while (end - from >= static_cast<ptrdiff_t>(kMagic.size())) {
        const size_t span = static_cast<size_t>(end - from) - (kMagic.size() - 1);
        const auto* p = static_cast<const uint8_t*>(std::memchr(from, kMagic[0], span));
        if (p == nullptr) {
            return nullptr;
        }
        if (std::memcmp(p + 1, kMagic.data() + 1, kMagic.size() - 1) == 0) {
            return p;
        }
        from = p + 1;
    }
    return nullptr;
}

int64_t utcSecond(const Fix& f) {
    int64_t ms = f.utcMillis;
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

// The GNSS second of the recording's first block, from the first two fixes in a row whose
// GNSS seconds step with their order: blocks count from the start, so the earliest run is
// the one the camera has not yet lost a second in. Fixes without position are passed over
// when validOnly, as the timeline passes them over.
std::optional<int64_t> firstSecond(const std::vector<NovatekBlock>& blocks, bool validOnly) {
    std::optional<int64_t> previous;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Fix& f = blocks[i].fix;
        bool counts =
            f.hasTime && (!validOnly || (f.valid && (f.latitude != 0.0 || f.longitude != 0.0)));
        if (!counts) {
            continue;
        }
        int64_t vote = utcSecond(f) - static_cast<int64_t>(i);
        if (previous == vote) {
            return vote;
        }
        previous = vote;
    }
    return std::nullopt;
}

}  // namespace

void NovatekScanner::placeSeconds(std::vector<NovatekBlock>& blocks) {
    // A second the camera skipped left no block, so from there on the order runs behind the
    // recording; the GNSS time shows by how much. A block takes the second its time names
    // when that lies no further from where the order puts it than the timeline trusts a
    // clock, and its G goes with it: the timeline places the fix by its time and the G by
    // its offset, so the two must agree.
    std::optional<int64_t> first = firstSecond(blocks, true);
    if (!first) {
        first = firstSecond(blocks, false);
    }
    int64_t next = 0;
    for (NovatekBlock& b : blocks) {
        int64_t second = next;
        if (first && b.fix.hasTime) {
            int64_t named = utcSecond(b.fix) - *first;
            if (named >= 0 && std::abs(named - next) <= SecondTimeline::kMaxClockStep) {
                second = named;
            }
        }
        b.fix.offset = static_cast<double>(second);
        if (b.g) {
            b.g->offset = b.fix.offset;
        }
        next = second + 1;
    }
}

RawTrack NovatekScanner::scan(const MediaFile& file, const MovieInfo& movie, uint64_t probeLimit) {
    // Scan every media data box; a file cut off before its first box header was complete
    // has none, and then everything after the file type box is scanned.
    std::vector<std::pair<uint64_t, uint64_t>> ranges;
    for (const Box& box : movie.topLevel) {
        if (box.type == fourcc("mdat")) {
            ranges.emplace_back(box.payload, box.end);
        }
    }
    if (ranges.empty()) {
        uint64_t from = movie.topLevel.empty() ? 0 : movie.topLevel.front().end;
        ranges.emplace_back(from, file.size());
    }

    const NovatekBlock::Firmware firmware = NovatekBlock::firmwareOf(file, movie);
    const size_t limit = static_cast<size_t>(SecondTimeline::kMaxRecords);
    std::vector<NovatekBlock> blocks;
    // Each read covers the blocks that start in one chunk, with their heads whole.
    std::vector<uint8_t> buffer(kChunk + NovatekBlock::kHeadBytes);
    for (auto [begin, end] : ranges) {
        for (uint64_t pos = begin; pos < end && blocks.size() < limit; pos += kChunk) {
            if (probeLimit != 0 && blocks.empty() && pos - begin >= probeLimit) {
                break;
            }
            const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), end - pos));
            const size_t got = file.read(pos, buffer.data(), want);
            const uint8_t* data = buffer.data();
            // Markers of blocks that start in this chunk, wholly inside what was read.
            const size_t searchEnd = std::min(got, kChunk + kMagicAt + kMagic.size() - 1);
            size_t at = kMagicAt;
            while (at < searchEnd && blocks.size() < limit) {
                const uint8_t* hit = findMarker(data + at, data + searchEnd);
                if (hit == nullptr) {
                    break;
                }
                const size_t marker = static_cast<size_t>(hit - data);
                at = marker + 1;
                const size_t start = marker - kMagicAt;
                const size_t n = std::min(NovatekBlock::kHeadBytes, got - start);
                if (auto block = NovatekBlock::decode({data + start, n}, firmware)) {
                    blocks.push_back(*block);
                }
            }
            if (got < want) {
                break;  // the file ends early
            }
        }
    }

    RawTrack track;
    track.clock = RawTrack::Clock::Order;
    track.found = !blocks.empty();
    placeSeconds(blocks);
    track.fixes.reserve(blocks.size());
    for (const NovatekBlock& b : blocks) {
        track.fixes.push_back(b.fix);
        if (b.g) {
            track.g.push_back(*b.g);
        }
    }
    return track;
}

}  // namespace gpx
