#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace gpx {

class MediaFile;

// Reads many small pieces of a file in few reads: pieces in file order that lie close
// together are fetched with one read into a small reused buffer. A camera that writes its
// GPS samples back to back then costs a few reads an hour instead of one a second.
class BatchReader {
  public:
    using Handler = std::function<void(size_t index, std::span<const uint8_t> bytes)>;

    BatchReader(const MediaFile& file, Handler handler);

    // Asks for length bytes at offset; index is handed back with them. Pieces come back in
    // the order they were asked for, each shortened where the file ends.
    void read(size_t index, uint64_t offset, uint64_t length);
    // Delivers what is still waiting. Call it once the last piece is asked for: a reader that
    // goes away without it drops what waits, since it goes away early only when an error
    // (running out of memory, most likely) is unwinding what the handler fills.
    void flush();
    ~BatchReader() = default;

    BatchReader(const BatchReader&) = delete;
    BatchReader& operator=(const BatchReader&) = delete;

    static constexpr uint64_t kJoinGap = 4 * 1024;
    static constexpr uint64_t kMaxRead = 256 * 1024;

  private:
    struct Piece {
        size_t index;
        uint64_t offset;
        uint64_t length;
    };

    const MediaFile& file_;
    Handler handler_;
    std::vector<Piece> run_;
    std::vector<uint8_t> buffer_;
};

}  // namespace gpx
