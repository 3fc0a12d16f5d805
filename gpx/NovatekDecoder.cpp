#include "NovatekDecoder.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "BatchReader.h"
#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"
#include "MovieInfo.h"

namespace gpx {

namespace {

constexpr std::string_view kMagic = "freeGPS ";

}  // namespace

std::optional<NovatekDecoder::Block> NovatekDecoder::decodeBlock(std::span<const uint8_t> block,
                                                                 NovatekBlock::Firmware firmware) {
    return NovatekBlock::decode(block, firmware);
}

RawTrack NovatekDecoder::decode(const MediaFile& file, const MovieInfo& movie) {
    RawTrack track = fromIndex(file, movie);
    track.clock = RawTrack::Clock::Order;
    if (track.fixes.empty() && track.g.empty()) {
        // The index is missing (a recording cut off before its movie was written) or its
        // 32-bit offsets do not reach the blocks: look for the blocks themselves.
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
    uint64_t count = std::min<uint64_t>(bytes::be32(head, 4), index.payloadSize() / 8);

    const NovatekBlock::Firmware firmware = NovatekBlock::firmwareOf(file, movie);
    // The index position of a block is its second.
    BatchReader reader(file, [&](size_t second, std::span<const uint8_t> block) {
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
            uint64_t offset = bytes::be32(entries, i * 8);
            uint64_t size = bytes::be32(entries, i * 8 + 4);
            if (offset == 0 || size == 0) {
                continue;  // the camera wrote no block for this second
            }
            // Only the head of a block holds its record.
            reader.read(static_cast<size_t>(first + i), offset,
                        std::min<uint64_t>(size, NovatekBlock::kHeadBytes));
        }
    }
    reader.flush();
    return track;
}

RawTrack NovatekDecoder::scan(const MediaFile& file, const MovieInfo& movie, uint64_t probeLimit) {
    RawTrack track;
    track.clock = RawTrack::Clock::Order;
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
    std::vector<uint8_t> chunk(kScanChunk + kMagic.size());
    std::vector<uint8_t> block(NovatekBlock::kHeadBytes);
    uint64_t nextSecond = 0;
    for (auto [begin, end] : ranges) {
        uint64_t pos = begin;
        while (pos < end) {
            if (probeLimit != 0 && !track.found && pos - begin >= probeLimit) {
                break;
            }
            size_t want = static_cast<size_t>(std::min<uint64_t>(chunk.size(), end - pos));
            size_t got = file.read(pos, chunk.data(), want);
            if (got < kMagic.size()) {
                break;
            }
            const uint8_t* data = chunk.data();
            size_t at = 0;
            while (at + kMagic.size() <= got) {
                const void* hit = memmem(data + at, got - at, kMagic.data(), kMagic.size());
                if (hit == nullptr) {
                    break;
                }
                size_t found = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data);
                at = found + 1;
                if (pos + found < begin + 4) {
                    continue;  // no room for the size field in front of it
                }
                uint64_t blockStart = pos + found - 4;
                size_t n = file.read(blockStart, block.data(), block.size());
                auto decoded = decodeBlock(std::span<const uint8_t>(block.data(), n), firmware);
                if (!decoded) {
                    continue;
                }
                track.found = true;
                double second = static_cast<double>(nextSecond++);
                decoded->fix.offset = second;
                track.fixes.push_back(decoded->fix);
                if (decoded->g) {
                    decoded->g->offset = second;
                    track.g.push_back(*decoded->g);
                }
            }
            if (pos + got >= end) {
                break;
            }
            // Step so that a marker split across two reads is found in the next one.
            pos += got - (kMagic.size() - 1);
        }
    }
    return track;
}

}  // namespace gpx
