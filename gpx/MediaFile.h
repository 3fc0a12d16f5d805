#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gpx {

// Read-only random access to one recording. Reads past the end come back short, never fail,
// so a truncated file is read as far as it goes.
class MediaFile {
  public:
    MediaFile() = default;
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    // Returns 0, or the errno of the failed open (a missing path, a folder, no permission,
    // anything else that is not a regular file, such as a named pipe or a device).
    int open(const std::string& path);
    // For tests and fuzzing: the recording held in memory.
    void openMemory(std::vector<uint8_t> bytes);

    uint64_t size() const { return size_; }

    // Copies up to n bytes from offset; returns how many were available.
    size_t read(uint64_t offset, void* out, size_t n) const;
    // Reads up to n bytes from offset; the result is shorter near the end of the file.
    std::vector<uint8_t> bytes(uint64_t offset, size_t n) const;

    // How many bytes all reads so far have delivered (the extractor reads only what it needs).
    uint64_t bytesRead() const { return bytesRead_; }

    // Reads this small (box headers, a header's few fields) are served from one window of
    // the file, so walking a container of many small boxes costs one system call per window
    // rather than one per box.
    static constexpr size_t kSmallRead = 64;
    static constexpr size_t kWindowBytes = 16 * 1024;

  private:
    size_t readFile(uint64_t offset, uint8_t* out, size_t n) const;

    int fd_ = -1;
    uint64_t size_ = 0;
    std::vector<uint8_t> memory_;
    bool inMemory_ = false;
    mutable uint64_t bytesRead_ = 0;
    mutable std::vector<uint8_t> window_;  // the file's bytes from windowStart_ on
    mutable uint64_t windowStart_ = 0;
};

}  // namespace gpx
