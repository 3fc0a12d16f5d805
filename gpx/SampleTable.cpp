#include "SampleTable.h"

#include <algorithm>

#include "Bytes.h"
#include "MediaFile.h"
#include "MovieInfo.h"

namespace gpx {

namespace {

std::vector<uint8_t> tableBytes(const MediaFile& file, const Box& box) {
    uint64_t n = std::min<uint64_t>(box.payloadSize(), SampleTable::kMaxTableBytes);
    return file.bytes(box.payload, static_cast<size_t>(n));
}

// Number of entries a table claims, clamped to what its bytes can hold.
uint32_t entryCount(bytes::Span b, size_t countOffset, size_t entrySize) {
    uint64_t claimed = bytes::be32(b, countOffset);
    uint64_t room = b.size() > countOffset + 4 ? (b.size() - countOffset - 4) / entrySize : 0;
    return static_cast<uint32_t>(std::min(claimed, room));
}

std::vector<uint32_t> sampleSizes(const MediaFile& file, const TrackInfo& track) {
    std::vector<uint32_t> sizes;
    if (track.stsz) {
        auto b = tableBytes(file, *track.stsz);
        uint32_t fixed = bytes::be32(b, 4);
        uint64_t count = bytes::be32(b, 8);
        if (fixed != 0) {
            // One size for all; the count still has to be believable.
            count = std::min<uint64_t>(count, SampleTable::kMaxSamples);
            sizes.assign(static_cast<size_t>(count), fixed);
        } else {
            uint32_t n = std::min(entryCount(b, 8, 4), SampleTable::kMaxSamples);
            sizes.resize(n);
            for (uint32_t i = 0; i < n; ++i) {
                sizes[i] = bytes::be32(b, 12 + 4 * size_t(i));
            }
        }
    } else if (track.stz2) {
        auto b = tableBytes(file, *track.stz2);
        unsigned field = bytes::u8(b, 7);
        uint64_t count = bytes::be32(b, 8);
        if (field != 4 && field != 8 && field != 16) {
            return sizes;
        }
        uint64_t room = b.size() > 12 ? (b.size() - 12) * 8 / field : 0;
        count = std::min({count, room, uint64_t(SampleTable::kMaxSamples)});
        sizes.resize(static_cast<size_t>(count));
        for (size_t i = 0; i < sizes.size(); ++i) {
            if (field == 4) {
                uint8_t v = bytes::u8(b, 12 + i / 2);
                sizes[i] = (i % 2 == 0) ? (v >> 4) : (v & 0x0F);
            } else if (field == 8) {
                sizes[i] = bytes::u8(b, 12 + i);
            } else {
                sizes[i] = bytes::be16(b, 12 + 2 * i);
            }
        }
    }
    return sizes;
}

std::vector<uint64_t> chunkOffsets(const MediaFile& file, const TrackInfo& track) {
    std::vector<uint64_t> offsets;
    if (track.co64) {
        auto b = tableBytes(file, *track.co64);
        uint32_t n = entryCount(b, 4, 8);
        offsets.resize(n);
        for (uint32_t i = 0; i < n; ++i) {
            offsets[i] = bytes::be64(b, 8 + 8 * size_t(i));
        }
    } else if (track.stco) {
        auto b = tableBytes(file, *track.stco);
        uint32_t n = entryCount(b, 4, 4);
        offsets.resize(n);
        for (uint32_t i = 0; i < n; ++i) {
            offsets[i] = bytes::be32(b, 8 + 4 * size_t(i));
        }
    }
    return offsets;
}

// Samples of one track never share bytes. A table that says they do (every sample at the
// same offset) would have the same bytes read and decoded again and again, so of samples
// that overlap only the one starting first in the file is kept (the earlier one when they
// start together). Empty samples hold no bytes and always stay.
void dropOverlapping(std::vector<Sample>& samples) {
    std::vector<uint32_t> order;
    bool inFileOrder =
        std::is_sorted(samples.begin(), samples.end(),
                       [](const auto& a, const auto& b) { return a.offset < b.offset; });
    if (!inFileOrder) {
        order.resize(samples.size());
        for (uint32_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return samples[a].offset < samples[b].offset;
        });
    }
    std::vector<bool> keep(samples.size(), false);
    uint64_t end = 0;
    for (size_t k = 0; k < samples.size(); ++k) {
        size_t i = inFileOrder ? k : order[k];
        const Sample& s = samples[i];
        if (s.size == 0 || s.offset >= end) {
            keep[i] = true;
            end = std::max(end, s.offset + s.size);
        }
    }
    size_t kept = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (keep[i]) {
            samples[kept++] = samples[i];
        }
    }
    samples.resize(kept);
}

}  // namespace

std::vector<Sample> SampleTable::read(const MediaFile& file, const TrackInfo& track) {
    std::vector<Sample> samples;
    // Without a timescale no sample has a time: counting ticks as seconds would spread ten
    // samples over hours.
    if (!track.stsc || !track.stts || track.timescale == 0) {
        return samples;
    }
    std::vector<uint32_t> sizes = sampleSizes(file, track);
    std::vector<uint64_t> chunks = chunkOffsets(file, track);
    if (sizes.empty() || chunks.empty()) {
        return samples;
    }

    auto stsc = tableBytes(file, *track.stsc);
    uint32_t runs = entryCount(stsc, 4, 12);
    samples.reserve(sizes.size());
    size_t k = 0;
    for (uint32_t r = 0; r < runs && k < sizes.size(); ++r) {
        uint64_t firstChunk = bytes::be32(stsc, 8 + 12 * size_t(r));
        uint64_t perChunk = bytes::be32(stsc, 12 + 12 * size_t(r));
        uint64_t nextFirst =
            r + 1 < runs ? bytes::be32(stsc, 8 + 12 * size_t(r + 1)) : uint64_t(chunks.size()) + 1;
        if (firstChunk == 0 || nextFirst <= firstChunk) {
            if (r + 1 < runs) {
                continue;  // an out-of-order run: skip it, later runs may still be good
            }
            nextFirst = uint64_t(chunks.size()) + 1;
        }
        for (uint64_t c = firstChunk; c < nextFirst && c <= chunks.size() && k < sizes.size();
             ++c) {
            uint64_t offset = chunks[c - 1];
            for (uint64_t j = 0; j < perChunk && k < sizes.size(); ++j, ++k) {
                Sample s;
                s.offset = offset;
                s.size = sizes[k];
                samples.push_back(s);
                offset += sizes[k];
            }
        }
    }

    // Times from the decode-time table; samples it does not cover keep the last delta.
    auto stts = tableBytes(file, *track.stts);
    uint32_t entries = entryCount(stts, 4, 8);
    double scale = 1.0 / track.timescale;
    uint64_t ticks = 0;
    uint64_t delta = 0;
    size_t i = 0;
    for (uint32_t e = 0; e < entries && i < samples.size(); ++e) {
        uint64_t count = bytes::be32(stts, 8 + 8 * size_t(e));
        delta = bytes::be32(stts, 12 + 8 * size_t(e));
        for (uint64_t c = 0; c < count && i < samples.size(); ++c, ++i) {
            samples[i].time = static_cast<double>(ticks) * scale;
            samples[i].duration = static_cast<double>(delta) * scale;
            ticks += delta;
        }
    }
    for (; i < samples.size(); ++i) {
        samples[i].time = static_cast<double>(ticks) * scale;
        samples[i].duration = static_cast<double>(delta) * scale;
        ticks += delta;
    }

    // Keep only samples that lie wholly inside the file.
    uint64_t fileSize = file.size();
    std::erase_if(samples, [fileSize](const Sample& s) {
        return s.offset > fileSize || s.size > fileSize - s.offset;
    });
    dropOverlapping(samples);
    return samples;
}

}  // namespace gpx
