#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "Bytes.h"

namespace makerec {

// GoPro's GPMF key-length-value stream: a four-character key, a type character, the size of
// one structure, a repeat count (u16 BE), then the values big-endian, padded to 4 bytes.
class Gpmf {
  public:
    void text(std::string_view key, std::string_view value);            // 'c'
    void utcTime(std::string_view key, std::string_view yymmddhhmmss);  // 'U', 16 characters
    void u32(std::string_view key, uint32_t value);                     // 'L'
    void u16(std::string_view key, uint16_t value);                     // 'S'
    void i16(std::string_view key, int16_t value);                      // 's'
    // 'l' values, grouped perEntry to a structure.
    void i32s(std::string_view key, const std::vector<int32_t>& values, size_t perEntry);
    // 's' values, grouped perEntry to a structure.
    void i16s(std::string_view key, const std::vector<int16_t>& values, size_t perEntry);
    // Type 0: a nested stream such as DEVC or STRM.
    void nest(std::string_view key, const Gpmf& inner);

    const Bytes& bytes() const { return bytes_; }

  private:
    void item(std::string_view key, char type, size_t structSize, size_t repeat,
              const Bytes& payload);

    Bytes bytes_;
};

}  // namespace makerec
