#include "NovatekIndexOffsets.h"

#include <algorithm>
#include <limits>

#include "Bytes.h"
#include "MediaFile.h"

namespace gpx {

namespace {

constexpr int kOffsetBits = 32;
constexpr size_t kHeaderBytes = 12;

}  // namespace

NovatekIndexOffsets::NovatekIndexOffsets(const MediaFile& file)
    : file_(file), lastMultiple_(file.size() == 0 ? 0 : (file.size() - 1) >> kOffsetBits) {}

NovatekIndexOffsets::Entry NovatekIndexOffsets::next(uint32_t offset) {
    if (offset < previous_) {
        ++wraps_;
    }
    previous_ = offset;
    Entry entry{offset, wraps_, 0, false};
    // In a file past 4 GiB the first blocks tell where the count starts; until one is found,
    // each entry is looked for.
    if (!anchored_ && lastMultiple_ > 0) {
        find(entry, std::nullopt);
        entry.searched = true;
    }
    entry.position = at(multipleOf(entry), offset);
    return entry;
}

uint64_t NovatekIndexOffsets::multipleOf(const Entry& entry) const {
    // Counted from the entry whose block was last found; an entry before it in the count
    // cannot lie below the file's start.
    if (entry.wraps < anchorWraps_ && anchorWraps_ - entry.wraps > anchorMultiple_) {
        return 0;
    }
    return std::min(anchorMultiple_ + entry.wraps - anchorWraps_, lastMultiple_);
}

uint64_t NovatekIndexOffsets::at(uint64_t multiple, uint32_t offset) const {
    return (multiple << kOffsetBits) + offset;
}

std::optional<uint64_t> NovatekIndexOffsets::relocate(const Entry& entry) {
    if (entry.searched) {
        return std::nullopt;
    }
    return find(entry, entry.position >> kOffsetBits);
}

std::optional<uint64_t> NovatekIndexOffsets::find(const Entry& entry,
                                                  std::optional<uint64_t> skip) {
    for (uint64_t multiple = 0; multiple <= lastMultiple_ && probes_ < kMaxProbes; ++multiple) {
        if (multiple == skip) {
            continue;  // read there already
        }
        ++probes_;
        const uint64_t position = at(multiple, entry.offset);
        uint8_t header[kHeaderBytes];
        size_t got = file_.read(position, header, sizeof header);
        if (isBlockHead(std::span<const uint8_t>(header, got))) {
            anchored_ = true;
            anchorMultiple_ = multiple;
            anchorWraps_ = entry.wraps;
            return position;
        }
    }
    return std::nullopt;
}

bool NovatekIndexOffsets::isBlockHead(std::span<const uint8_t> head) {
    return bytes::matches(head, 4, "freeGPS ");
}

}  // namespace gpx
