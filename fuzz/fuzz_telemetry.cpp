// Any bytes as one telemetry sample, one GPS block and one accelerometer box: the pieces
// a whole-file fuzzer rarely reaches because they sit behind valid box structure.
#include <cstddef>
#include <cstdint>
#include <span>

#include "BlackVueDecoder.h"
#include "GpmfDecoder.h"
#include "NovatekDecoder.h"
#include "SecondTimeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    gpx::RawTrack track;
    gpx::GpmfDecoder::decodeSample(bytes, 0.0, 1.0, track);
    gpx::NovatekDecoder::decodeBlock(bytes);
    gpx::BlackVueDecoder::readAccelerometer(bytes, track);
    gpx::SecondTimeline::build(track, size > 0 ? data[0] : -1.0);
    return 0;
}
