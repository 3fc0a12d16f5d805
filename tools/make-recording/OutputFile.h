#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace makerec {

class Bytes;

// The file being made, written under a temporary name beside its final one and renamed
// only when complete, so a failure never leaves a half-written recording behind.
class OutputFile {
  public:
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const Bytes& bytes);
    void write(const uint8_t* data, size_t size);
    // Leaves a hole: the bytes read as zeros but take no disk space.
    void skip(uint64_t count);
    void copyFrom(const std::string& path, uint64_t offset, uint64_t size);
    uint64_t position() const { return position_; }

    // Sets the final length (a trailing hole, or cutAt when given) and gives the file its
    // real name. Throws ToolError when cutAt lies beyond the end.
    void commit(std::optional<uint64_t> cutAt = std::nullopt);

  private:
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    uint64_t position_ = 0;
    bool committed_ = false;
};

}  // namespace makerec
