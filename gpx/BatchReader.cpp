#include "BatchReader.h"

#include <algorithm>

#include "MediaFile.h"

namespace gpx {

BatchReader::BatchReader(const MediaFile& file, Handler handler)
    : file_(file), handler_(std::move(handler)) {}

void BatchReader::read(size_t index, uint64_t offset, uint64_t length) {
    if (!run_.empty()) {
        uint64_t start = run_.front().offset;
        uint64_t end = run_.back().offset + run_.back().length;
        bool joins =
            offset >= end && offset - end <= kJoinGap && offset + length - start <= kMaxRead;
        if (!joins) {
            flush();
        }
    }
    run_.push_back(Piece{index, offset, length});
}

void BatchReader::flush() {
    if (run_.empty()) {
        return;
    }
    uint64_t start = run_.front().offset;
    uint64_t end = run_.back().offset + run_.back().length;
    if (buffer_.size() < end - start) {
        buffer_.resize(static_cast<size_t>(end - start));
    }
    size_t got = file_.read(start, buffer_.data(), static_cast<size_t>(end - start));
    // The run is taken out before any piece is handed over: a handler that throws must not
    // see its pieces again from a later flush.
    std::vector<Piece> run;
    run.swap(run_);
    for (const Piece& p : run) {
        uint64_t at = p.offset - start;
        size_t n = at >= got ? 0 : static_cast<size_t>(std::min<uint64_t>(p.length, got - at));
        handler_(p.index, std::span<const uint8_t>(buffer_.data() + (n > 0 ? at : 0), n));
    }
    // Keep the run's storage for the next one.
    run.clear();
    run_.swap(run);
}

}  // namespace gpx
