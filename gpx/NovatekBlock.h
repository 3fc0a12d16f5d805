#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "RawTrack.h"

namespace gpx {

class MediaFile;
struct MovieInfo;

// The record one "freeGPS " block carries: a fix (valid = false for a void second, or for a
// record whose numbers are out of range) and, where the layout has one, a G reading.
//
// Layouts read: the classic one (time at 0x30, status at 0x48), the one with accelerometer
// (time at 0x10, status at 0x28, three 1/256 g counts at 0x3C), and three firmware families
// whose records sit where the classic one does but whose numbers mean something else. Read as
// classic those give believable, wrong fixes, so they are recognised first:
// - scaled coordinates, known only from the recording's top-level 'frea' box;
// - decimal degrees and km/h, in blocks of 0x4000 bytes whose floats are already degrees;
// - integer degrees × 10⁷ and m/s × 100, from firmware that writes "IQS" at 0x10.
struct NovatekBlock {
    // What the rest of the recording says about the records of its blocks.
    enum class Firmware {
        Usual,
        ScaledCoordinates,
    };

    Fix fix;
    std::optional<GReading> g;

    // Decodes a block from its size field on; only its head is needed. Nothing when the block
    // is in no layout we know.
    static std::optional<NovatekBlock> decode(std::span<const uint8_t> head, Firmware firmware);

    // Every record lies in the first 0x60 bytes of its block; the rest is padding. This much
    // is read of each block, with room for firmware that puts a little more in front.
    static constexpr size_t kHeadBytes = 512;

    // The firmware that wrote this recording's blocks, told by its top-level boxes.
    static Firmware firmwareOf(const MediaFile& file, const MovieInfo& movie);
};

}  // namespace gpx
