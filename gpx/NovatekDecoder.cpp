#include "NovatekDecoder.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "BatchReader.h"
#include "Bytes.h"
#include "MediaFile.h"
#include "MovieInfo.h"
#include "NovatekIndexOffsets.h"
#include "NovatekScanner.h"
#include "SecondTimeline.h"

namespace gpx {

std::optional<NovatekDecoder::Block> NovatekDecoder::decodeBlock(std::span<const uint8_t> block,
                                                                 NovatekBlock::Firmware firmware) {
    return NovatekBlock::decode(block, firmware);
}

RawTrack NovatekDecoder::scan(const MediaFile& file, const MovieInfo& movie, uint64_t probeLimit) {
    return NovatekScanner::scan(file, movie, probeLimit);
}

RawTrack NovatekDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track = fromIndex(file, movie);
    track.clock = RawTrack::Clock::Order;
    if (track.fixes.empty() && track.g.empty()) {
        // The index is missing (a recording cut off before its movie was written) or leads
        // nowhere: look for the blocks themselves.
        RawTrack scanned = scan(file, movie, 0);
        if (scanned.found) {
            return scanned;
        }
    }
    return track;
}

RawTrack NovatekDecoder::fromIndex(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track;
    if (!movie.novatekIndex) {
        return track;
    }
    const Box& index = *movie.novatekIndex;
    track.found = true;
    auto head = file.bytes(index.payload, 8);
    // The index position of a block is its second, so entries past the longest recording we
    // lay out could not be placed anyway.
    uint64_t count = std::min<uint64_t>({bytes::be32(head, 4), index.payloadSize() / 8,
                                         static_cast<uint64_t>(SecondTimeline::kMaxRecords)});

    const NovatekBlock::Firmware firmware = NovatekBlock::firmwareOf(file, movie);
    NovatekIndexOffsets offsets(file);
    // The entries asked for and not yet delivered, in the reader's order.
    std::deque<NovatekIndexOffsets::Entry> waiting;
    std::vector<uint8_t> moved;
    BatchReader reader(file, [&](size_t second, std::span<const uint8_t> block) {
        NovatekIndexOffsets::Entry entry = waiting.front();
        waiting.pop_front();
        if (!NovatekIndexOffsets::isBlockHead(block)) {
            // Not where the count of wrapped offsets put it.
            auto at = offsets.relocate(entry);
            if (!at) {
                return;
            }
            moved = file.bytes(*at, NovatekBlock::kHeadBytes);
            block = moved;
        }
        auto decoded = decodeBlock(block, firmware);
        if (!decoded) {
            return;
        }
        decoded->fix.offset = static_cast<double>(second);
        track.fixes.push_back(decoded->fix);
        if (decoded->g) {
            decoded->g->offset = static_cast<double>(second);
            track.g.push_back(*decoded->g);
        }
    });
    // Entries are read in slices so a long recording never needs one big buffer.
    constexpr uint64_t kSlice = 4096;
    track.fixes.reserve(static_cast<size_t>(std::min<uint64_t>(count, kSlice)));
    for (uint64_t first = 0; first < count; first += kSlice) {
        uint64_t n = std::min(kSlice, count - first);
        auto entries = file.bytes(index.payload + 8 + first * 8, static_cast<size_t>(n * 8));
        for (uint64_t i = 0; i < n && bytes::has(entries, i * 8, 8); ++i) {
            uint32_t offset = bytes::be32(entries, i * 8);
            uint32_t size = bytes::be32(entries, i * 8 + 4);
            if (offset == 0 || size == 0) {
                continue;  // the camera wrote no block for this second
            }
            // Only the head of a block holds its record.
            waiting.push_back(offsets.next(offset));
            reader.read(static_cast<size_t>(first + i), waiting.back().position,
                        std::min<uint64_t>(size, NovatekBlock::kHeadBytes));
        }
    }
    reader.flush();
    return track;
}

}  // namespace gpx
