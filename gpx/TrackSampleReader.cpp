#include "TrackSampleReader.h"

#include <algorithm>
#include <vector>

#include "BatchReader.h"
#include "MediaFile.h"

namespace gpx {

TrackSampleReader::TrackSampleReader(const MediaFile& file) : file_(file), budget_(file.size()) {}

void TrackSampleReader::read(const TrackInfo& track, uint64_t maxBytes, const Handler& handler) {
    if (budget_ == 0) {
        return;
    }
    std::vector<Sample> samples = SampleTable::read(file_, track);
    bool more = true;
    BatchReader batch(file_, [&](size_t i, std::span<const uint8_t> bytes) {
        more = more && handler(samples[i], bytes);
    });
    for (size_t i = 0; i < samples.size() && more; ++i) {
        uint64_t n = std::min<uint64_t>(samples[i].size, maxBytes);
        if (n > budget_) {
            break;
        }
        budget_ -= n;
        batch.read(i, samples[i].offset, n);
    }
    batch.flush();
}

}  // namespace gpx
