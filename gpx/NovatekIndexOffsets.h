#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace gpx {

class MediaFile;

// Where the blocks named by a 'gps ' index lie. The index keeps 32-bit offsets, so in a
// recording past 4 GiB they wrap and a block lies at its offset plus some multiple of 4 GiB.
// Blocks follow each other through the file, so the multiple grows by one each time an offset
// falls below the one before. Which multiple the count starts from is learned from the header
// of the first block found, and learned again wherever a header is not where the count puts
// it; only that costs reads, a few for each multiple the file is long.
class NovatekIndexOffsets {
  public:
    explicit NovatekIndexOffsets(const MediaFile& file);

    struct Entry {
        uint32_t offset = 0;
        uint64_t wraps = 0;     // offsets that fell below the one before, up to this entry
        uint64_t position = 0;  // where its block should lie
        bool searched = false;  // every multiple was looked at already
    };

    // The next entry of the index, in index order.
    Entry next(uint32_t offset);
    // For an entry whose block was not at its position: looks for it at every other multiple
    // of 4 GiB (unless that was done); the entries after it are then counted from there.
    std::optional<uint64_t> relocate(const Entry& entry);

    // A block starts with its size and "freeGPS ".
    static bool isBlockHead(std::span<const uint8_t> head);

    // At most this many headers are read while looking for blocks, however damaged the index.
    static constexpr size_t kMaxProbes = 1 << 16;

  private:
    uint64_t multipleOf(const Entry& entry) const;
    std::optional<uint64_t> find(const Entry& entry, std::optional<uint64_t> skip);
    uint64_t at(uint64_t multiple, uint32_t offset) const;

    const MediaFile& file_;
    uint64_t lastMultiple_ = 0;  // the file's size in multiples of 4 GiB, rounded down
    uint32_t previous_ = 0;
    uint64_t wraps_ = 0;
    bool anchored_ = false;
    uint64_t anchorMultiple_ = 0;  // the multiple found for an entry with anchorWraps_
    uint64_t anchorWraps_ = 0;
    size_t probes_ = 0;
};

}  // namespace gpx
