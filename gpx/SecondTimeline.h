#pragma once

#include <vector>

#include "GpxData.h"
#include "RawTrack.h"

namespace gpx {

// Lays the fixes and G readings of a recording out as one record per second.
//
// Rules, the same for every camera:
// - The record count is the recording's length in whole seconds (a last partial second of
//   under a tenth is not counted); without a movie header it is what the data spans.
// - Where the format times its samples on the media's clock, a fix belongs to the second of
//   its offset. Otherwise it belongs to the second of its GNSS time, the GNSS clock tied to
//   the recording as RawTrack::Clock says, so a stale fix, a repeated second or a jittering
//   camera clock cannot shift the rest; a fix whose GNSS time is more than five minutes away
//   from its place is stale and left out. Fixes without a GNSS time fall in the second of
//   their offset.
// - Per second the first valid fix wins; a second without one is a record with status 0.
// - The G-sensor value of a second is its reading of largest magnitude, so impacts show.
// - Times are UTC: a fix's own, else the time the GNSS clock (or the recording's start for
//   formats without one) gives the second.
class SecondTimeline {
  public:
    static std::vector<GPX_SAMPLE> build(const RawTrack& track, double durationSeconds);

    // Upper bound on records: three days of recording, far beyond any camera's file, so a
    // damaged length cannot make us allocate without bound.
    static constexpr int kMaxRecords = 1 << 18;
    // How far a fix's GNSS second may lie from its place in the recording, in seconds.
    static constexpr int64_t kMaxClockStep = 300;
};

}  // namespace gpx
