#pragma once

#include <vector>

#include "FixPlausibility.h"
#include "GpxData.h"
#include "RawTrack.h"

namespace gpx {

// Lays the fixes and G readings of a recording out as one record per second.
//
// Rules, the same for every camera:
// - The record count is the recording's length in whole seconds (a last partial second of
//   under a tenth is not counted); without a movie header it is what the data spans.
// - Every fix passes FixPlausibility first: one whose time is out of range is left out, one
//   whose values are out of range is no fix.
// - Where the format times its samples on the media's clock, a fix belongs to the second of
//   its offset; one whose GNSS second disagrees by more than a few seconds with the clock
//   the other fixes agree on is stale and left out. Otherwise a fix belongs to the second of
//   its GNSS time, the GNSS clock tied to the recording as RawTrack::Clock says, so a stale
//   fix, a repeated second or a jittering camera clock cannot shift the rest; a fix whose
//   GNSS time is more than five minutes away from its place is stale and left out. Fixes
//   without a GNSS time fall in the second of their offset.
// - Per second the first valid fix wins; a second without one is a record with status 0.
// - The G-sensor value of a second is its reading of largest magnitude, so impacts show.
// - Times are UTC: a fix's own, else the time the GNSS clock (or the recording's start for
//   formats without one) gives the second. With neither, second s is 2000-01-01 00:00:00
//   plus s + 1 seconds, as the track repair counts a recording without any fix.
class SecondTimeline {
  public:
    static std::vector<GPX_SAMPLE> build(const RawTrack& track, double durationSeconds);
    static std::vector<GPX_SAMPLE> build(const RawTrack& track, double durationSeconds,
                                         const FixPlausibility& check);

    // Upper bound on records: three days of recording, far beyond any camera's file, so a
    // damaged length cannot make us allocate without bound.
    static constexpr int kMaxRecords = 1 << 18;
    // How far a fix's GNSS second may lie from its place in the recording, in seconds.
    static constexpr int64_t kMaxClockStep = 300;
    // The same on the media's clock, where sample times and GNSS seconds only jitter.
    static constexpr int64_t kMaxMediaLag = 5;
    // The time of the first record when nothing tells it: 2000-01-01 00:00:01.
    static constexpr int64_t kNoClockStart = 946684801;
};

}  // namespace gpx
