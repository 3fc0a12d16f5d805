#include "SecondTimeline.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "CivilTime.h"

namespace gpx {

namespace {

// Offsets beyond this (some 35,000 years) are damage, whatever the format: keeping them out
// keeps every sum and difference of seconds below far from overflowing.
constexpr double kMaxOffset = 1099511627776.0;  // 2^40
// The second of an offset that has none: before any record, so it is never placed.
constexpr int64_t kNowhere = -(int64_t(1) << 50);

int64_t secondOf(double offset) {
    if (!(std::abs(offset) < kMaxOffset)) {
        return kNowhere;  // also NaN
    }
    return static_cast<int64_t>(std::floor(offset + 1e-6));
}

// Whole seconds, rounded down, for any number of milliseconds.
int64_t utcSecond(const Fix& f) {
    int64_t q = f.utcMillis / 1000;
    return f.utcMillis % 1000 < 0 ? q - 1 : q;
}

// A fix as the timeline sees it once checked.
struct Checked {
    const Fix* fix = nullptr;
    int64_t second = 0;          // of its offset
    std::optional<int64_t> utc;  // its GNSS second, when it has a plausible one
    bool usable = false;         // a valid fix whose values all make sense
};

// The difference between GNSS second and recording second that ties the two clocks.
std::optional<int64_t> clockBase(const std::vector<Checked>& fixes, bool usableOnly,
                                 RawTrack::Clock clock) {
    if (clock == RawTrack::Clock::Order) {
        // The first two fixes in a row that agree: blocks count from the recording's start,
        // so the earliest run is the one the camera has not yet lost a second in.
        std::optional<int64_t> previous;
        for (const Checked& c : fixes) {
            if (!c.utc || (usableOnly && !c.usable)) {
                continue;
            }
            int64_t vote = *c.utc - c.second;
            if (previous == vote) {
                return vote;
            }
            previous = vote;
        }
    }
    // Every difference with the index of the fix that gave it, sorted by difference.
    std::vector<std::pair<int64_t, size_t>> votes;
    for (size_t i = 0; i < fixes.size(); ++i) {
        if (fixes[i].utc && (!usableOnly || fixes[i].usable)) {
            votes.emplace_back(*fixes[i].utc - fixes[i].second, i);
        }
    }
    std::sort(votes.begin(), votes.end());
    // The most common difference. The samples' own times on the media clock jitter against
    // the GNSS seconds, so there a tie goes to the difference with more fixes within the
    // allowed lag of it, which a lone stale fix never has; other ties go to the difference
    // met first, so the earliest fixes decide.
    int64_t lag = clock == RawTrack::Clock::Media ? SecondTimeline::kMaxMediaLag : 0;
    std::optional<int64_t> best;
    size_t bestSame = 0, bestNear = 0, bestFirst = 0;
    size_t lo = 0, hi = 0;
    for (size_t i = 0; i < votes.size();) {
        int64_t d = votes[i].first;
        size_t j = i;
        size_t first = votes[i].second;
        while (j < votes.size() && votes[j].first == d) {
            first = std::min(first, votes[j].second);
            ++j;
        }
        while (votes[lo].first < d - lag) {
            ++lo;
        }
        while (hi < votes.size() && votes[hi].first <= d + lag) {
            ++hi;
        }
        size_t same = j - i;
        size_t near = hi - lo;
        if (!best || same > bestSame || (same == bestSame && near > bestNear) ||
            (same == bestSame && near == bestNear && first < bestFirst)) {
            best = d;
            bestSame = same;
            bestNear = near;
            bestFirst = first;
        }
        i = j;
    }
    return best;
}

}  // namespace

std::vector<GPX_SAMPLE> SecondTimeline::build(const RawTrack& track, double durationSeconds) {
    return build(track, durationSeconds, FixPlausibility::fromSystemClock());
}

std::vector<GPX_SAMPLE> SecondTimeline::build(const RawTrack& track, double durationSeconds,
                                              const FixPlausibility& check) {
    // Every fix passes the same checks: a time out of range leaves the fix out, values out
    // of range leave it without fix.
    // A track holds no more than RawTrack keeps; whatever a decoder left beyond that is not
    // looked at either.
    std::span<const Fix> given(track.fixes.data(),
                               std::min(track.fixes.size(), RawTrack::kMaxFixes));
    std::span<const GReading> readings(track.g.data(),
                                       std::min(track.g.size(), RawTrack::kMaxReadings));
    std::vector<Checked> fixes;
    fixes.reserve(given.size());
    for (const Fix& f : given) {
        Checked c;
        c.fix = &f;
        c.second = secondOf(f.offset);
        if (c.second == kNowhere) {
            continue;  // no place in the recording, so its time ties no clock either
        }
        if (f.hasTime) {
            if (!check.timeOk(utcSecond(f))) {
                continue;
            }
            c.utc = utcSecond(f);
        }
        c.usable = f.valid && check.valuesOk(f);
        fixes.push_back(c);
    }

    std::optional<int64_t> base = clockBase(fixes, true, track.clock);
    if (!base) {
        base = clockBase(fixes, false, track.clock);
    }

    // Where each fix goes. A fix whose GNSS second lies far from where its own offset puts
    // it is stale (a receiver repeats its last fix until its clock settles) or garbage: it is
    // left out rather than shifting the recording's time.
    auto slotOf = [&](const Checked& c) -> int64_t {
        if (!c.utc || !base) {
            return c.second;
        }
        if (track.clock == RawTrack::Clock::Media) {
            return std::abs(*c.utc - *base - c.second) <= kMaxMediaLag ? c.second : kNowhere;
        }
        int64_t slot = *c.utc - *base;
        return std::abs(slot - c.second) <= kMaxClockStep ? slot : kNowhere;
    };

    int64_t count = 0;
    if (durationSeconds >= 0.0 && std::isfinite(durationSeconds)) {
        // Bounded before converting: a damaged header's length may not fit any integer.
        double bounded = std::min(durationSeconds, static_cast<double>(kMaxRecords) + 1.0);
        count = static_cast<int64_t>(std::ceil(std::max(0.0, bounded - 0.1)));
    } else {
        for (const Checked& c : fixes) {
            count = std::max(count, slotOf(c) + 1);
        }
        for (const GReading& g : readings) {
            count = std::max(count, secondOf(g.offset) + 1);
        }
    }
    count = std::clamp<int64_t>(count, 0, kMaxRecords);

    std::vector<const Checked*> fixAt(static_cast<size_t>(count), nullptr);
    for (const Checked& c : fixes) {
        int64_t s = slotOf(c);
        if (s < 0 || s >= count) {
            continue;
        }
        const Checked*& slot = fixAt[static_cast<size_t>(s)];
        if (slot == nullptr || (c.usable && !slot->usable)) {
            slot = &c;
        }
    }

    std::vector<const GReading*> gAt(static_cast<size_t>(count), nullptr);
    auto magnitude = [](const GReading& g) { return g.x * g.x + g.y * g.y + g.z * g.z; };
    for (const GReading& g : readings) {
        int64_t s = secondOf(g.offset);
        if (s < 0 || s >= count || !std::isfinite(magnitude(g))) {
            continue;
        }
        const GReading*& slot = gAt[static_cast<size_t>(s)];
        if (slot == nullptr || magnitude(g) > magnitude(*slot)) {
            slot = &g;
        }
    }

    // The time of the first second: from the GNSS clock, else the recording's start, else
    // the clock of a recording without any fix, so every record carries a real date.
    int64_t start = kNoClockStart;
    if (base) {
        start = *base;
    } else if (track.startUtc && check.timeOk(*track.startUtc)) {
        start = *track.startUtc;
    }
    std::vector<GPX_SAMPLE> out(static_cast<size_t>(count));
    for (size_t s = 0; s < out.size(); ++s) {
        GPX_SAMPLE& r = out[s];
        r = GPX_SAMPLE{};
        const Checked* c = fixAt[s];
        if (c != nullptr && c->usable) {
            r.nStatus = 1;
            r.dLatitude = c->fix->latitude;
            r.dLongitude = c->fix->longitude;
            r.dSpeed = c->fix->speedKmh;
            r.dAngle = c->fix->heading;
        }
        CivilTime t =
            CivilTime::fromUnix(c != nullptr && c->utc ? *c->utc : start + static_cast<int64_t>(s));
        r.nYear = t.year;
        r.nMonth = t.month;
        r.nDay = t.day;
        r.nHour = t.hour;
        r.nMinute = t.minute;
        r.nSecond = t.second;
        if (const GReading* g = gAt[s]) {
            r.dGx = g->x;
            r.dGy = g->y;
            r.dGz = g->z;
            r.dGSum = std::sqrt(magnitude(*g));
        }
    }
    return out;
}

}  // namespace gpx
