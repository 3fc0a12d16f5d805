#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace gpx {

class MediaFile;

// One box as found in the file. Offsets are absolute; end never lies beyond the container
// or the file, even when the header claims more (a recording cut off by a power failure).
struct Box {
    uint32_t type = 0;
    uint64_t start = 0;      // first byte of the header
    uint64_t payload = 0;    // first byte after the header (and after the uuid user type)
    uint64_t end = 0;        // one past the last byte, clamped
    bool truncated = false;  // the header claimed more than the container holds
    std::array<uint8_t, 16> userType{};

    uint64_t payloadSize() const { return end - payload; }
};

// Walks the boxes of one container, [begin, end) of the file, in order. Each step moves
// forward by at least one header, so a damaged file can never make it loop.
class BoxReader {
  public:
    BoxReader(const MediaFile& file, uint64_t begin, uint64_t end);

    // The next box, or nothing at the end of the container or at a header that makes no
    // sense (sizes 2 to 7, a header cut short).
    std::optional<Box> next();

    // True when the walk ended at a damaged header rather than at the container's end.
    bool damaged() const { return damaged_; }

    // No container of a recording holds anywhere near this many boxes (a day of one-second
    // fragments is far fewer); a file that does is made up, and its walk ends here as at a
    // damaged header, so millions of tiny boxes cost no more than this many.
    static constexpr uint32_t kMaxBoxes = 1u << 20;

  private:
    const MediaFile& file_;
    uint64_t pos_;
    uint64_t end_;
    uint32_t count_ = 0;
    bool damaged_ = false;
};

}  // namespace gpx
