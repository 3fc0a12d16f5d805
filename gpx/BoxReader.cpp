#include "BoxReader.h"

#include <algorithm>

#include "Bytes.h"
#include "FourCC.h"
#include "MediaFile.h"

namespace gpx {

BoxReader::BoxReader(const MediaFile& file, uint64_t begin, uint64_t end)
    : file_(file), pos_(begin), end_(std::min(end, file.size())) {}

std::optional<Box> BoxReader::next() {
    if (pos_ >= end_ || end_ - pos_ < 8) {
        // Fewer than eight bytes left: the zero terminator some cameras put at the end of a
        // container, or a header cut short.
        pos_ = end_;
        return std::nullopt;
    }
    if (count_ == kMaxBoxes) {
        damaged_ = true;
        pos_ = end_;
        return std::nullopt;
    }
    ++count_;
    uint8_t header[32] = {};
    size_t got = file_.read(pos_, header, sizeof header);
    bytes::Span h(header, got);
    uint64_t size = bytes::be32(h, 0);
    Box box;
    box.type = bytes::be32(h, 4);
    box.start = pos_;
    uint64_t headerSize = 8;
    if (size == 1) {
        if (got < 16) {
            damaged_ = true;
            pos_ = end_;
            return std::nullopt;
        }
        size = bytes::be64(h, 8);
        headerSize = 16;
    } else if (size == 0) {
        size = end_ - pos_;  // runs to the end of the container: an mdat still being written
    }
    if (size < headerSize) {
        damaged_ = true;
        pos_ = end_;
        return std::nullopt;
    }
    if (box.type == fourcc("uuid")) {
        if (got < headerSize + 16) {
            damaged_ = true;
            pos_ = end_;
            return std::nullopt;
        }
        std::copy_n(header + headerSize, 16, box.userType.begin());
        headerSize += 16;
        if (size < headerSize) {
            damaged_ = true;
            pos_ = end_;
            return std::nullopt;
        }
    }
    box.payload = pos_ + headerSize;
    if (box.payload > end_) {
        damaged_ = true;
        pos_ = end_;
        return std::nullopt;
    }
    if (size > end_ - pos_) {
        box.truncated = true;
        box.end = end_;
    } else {
        box.end = pos_ + size;
    }
    pos_ = box.end;
    return box;
}

}  // namespace gpx
