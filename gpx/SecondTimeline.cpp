#include "SecondTimeline.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "CivilTime.h"

namespace gpx {

namespace {

int64_t secondOf(double offset) {
    return static_cast<int64_t>(std::floor(offset + 1e-6));
}

int64_t utcSecond(const Fix& f) {
    int64_t ms = f.utcMillis;
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

double finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

bool plausible(const Fix& f) {
    return std::isfinite(f.latitude) && std::isfinite(f.longitude) &&
           std::abs(f.latitude) <= 90.0 && std::abs(f.longitude) <= 180.0 &&
           !(f.latitude == 0.0 && f.longitude == 0.0);
}

// The most common difference between GNSS second and recording second; ties go to the
// difference met first, so the earliest fixes decide.
std::optional<int64_t> clockBase(const std::vector<Fix>& fixes, bool validOnly,
                                 RawTrack::Clock clock) {
    if (clock == RawTrack::Clock::Order) {
        // The first two fixes in a row that agree: blocks count from the recording's start,
        // so the earliest run is the one the camera has not yet lost a second in.
        std::optional<int64_t> previous;
        for (const Fix& f : fixes) {
            if (!f.hasTime || (validOnly && !(f.valid && plausible(f)))) {
                continue;
            }
            int64_t vote = utcSecond(f) - secondOf(f.offset);
            if (previous == vote) {
                return vote;
            }
            previous = vote;
        }
    }
    std::map<int64_t, std::pair<int, size_t>> votes;  // base -> (count, first index)
    for (size_t i = 0; i < fixes.size(); ++i) {
        const Fix& f = fixes[i];
        if (!f.hasTime || (validOnly && !(f.valid && plausible(f)))) {
            continue;
        }
        auto& v = votes.try_emplace(utcSecond(f) - secondOf(f.offset), 0, i).first->second;
        ++v.first;
    }
    std::optional<int64_t> best;
    int bestCount = 0;
    size_t bestFirst = 0;
    for (const auto& [base, v] : votes) {
        if (v.first > bestCount || (v.first == bestCount && v.second < bestFirst)) {
            best = base;
            bestCount = v.first;
            bestFirst = v.second;
        }
    }
    return best;
}

}  // namespace

std::vector<GPX_SAMPLE> SecondTimeline::build(const RawTrack& track, double durationSeconds) {
    std::optional<int64_t> base = clockBase(track.fixes, true, track.clock);
    if (!base) {
        base = clockBase(track.fixes, false, track.clock);
    }

    // A fix whose GNSS second lies far from where its own offset puts it is stale or
    // garbage; it is left out rather than stretching the recording.
    constexpr int64_t kOutOfStep = -(int64_t(1) << 40);
    auto slotOf = [&](const Fix& f) {
        if (track.clock == RawTrack::Clock::Media || !f.hasTime || !base) {
            return secondOf(f.offset);
        }
        int64_t slot = utcSecond(f) - *base;
        return std::abs(slot - secondOf(f.offset)) <= kMaxClockStep ? slot : kOutOfStep;
    };

    int64_t count = 0;
    if (durationSeconds >= 0.0 && std::isfinite(durationSeconds)) {
        count = static_cast<int64_t>(std::ceil(std::max(0.0, durationSeconds - 0.1)));
    } else {
        for (const Fix& f : track.fixes) {
            count = std::max(count, slotOf(f) + 1);
        }
        for (const GReading& g : track.g) {
            count = std::max(count, secondOf(g.offset) + 1);
        }
    }
    count = std::clamp<int64_t>(count, 0, kMaxRecords);

    std::vector<const Fix*> fixAt(static_cast<size_t>(count), nullptr);
    for (const Fix& f : track.fixes) {
        int64_t s = slotOf(f);
        if (s < 0 || s >= count) {
            continue;
        }
        bool usable = f.valid && plausible(f);
        const Fix*& slot = fixAt[static_cast<size_t>(s)];
        if (slot == nullptr || (usable && !(slot->valid && plausible(*slot)))) {
            slot = &f;
        }
    }

    std::vector<const GReading*> gAt(static_cast<size_t>(count), nullptr);
    auto magnitude = [](const GReading& g) { return g.x * g.x + g.y * g.y + g.z * g.z; };
    for (const GReading& g : track.g) {
        int64_t s = secondOf(g.offset);
        if (s < 0 || s >= count || !std::isfinite(magnitude(g))) {
            continue;
        }
        const GReading*& slot = gAt[static_cast<size_t>(s)];
        if (slot == nullptr || magnitude(g) > magnitude(*slot)) {
            slot = &g;
        }
    }

    std::optional<int64_t> start = base ? base : track.startUtc;
    std::vector<GPX_SAMPLE> out(static_cast<size_t>(count));
    for (size_t s = 0; s < out.size(); ++s) {
        GPX_SAMPLE& r = out[s];
        r = GPX_SAMPLE{};
        if (const Fix* f = fixAt[s]; f != nullptr && f->valid && plausible(*f)) {
            r.nStatus = 1;
            r.dLatitude = f->latitude;
            r.dLongitude = f->longitude;
            r.dSpeed = std::max(0.0, finite(f->speedKmh));
            r.dAngle = finite(f->heading);
        }
        const Fix* timed = fixAt[s] != nullptr && fixAt[s]->hasTime ? fixAt[s] : nullptr;
        if (timed != nullptr || start) {
            CivilTime t = CivilTime::fromUnix(timed != nullptr ? utcSecond(*timed)
                                                               : *start + static_cast<int64_t>(s));
            r.nYear = t.year;
            r.nMonth = t.month;
            r.nDay = t.day;
            r.nHour = t.hour;
            r.nMinute = t.minute;
            r.nSecond = t.second;
        }
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
