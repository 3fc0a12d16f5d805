#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace makerec {

// A growing byte buffer with the encodings the camera layouts need. Big- and little-endian
// writers sit side by side because one recording mixes both: boxes are big-endian, the
// records cameras put inside them are often little-endian.
class Bytes {
  public:
    Bytes() = default;
    Bytes(const uint8_t* data, size_t size) : data_(data, data + size) {}

    void u8(uint8_t v) { data_.push_back(v); }
    void u16be(uint16_t v);
    void u32be(uint32_t v);
    void u64be(uint64_t v);
    void i16be(int16_t v) { u16be(static_cast<uint16_t>(v)); }
    void i32be(int32_t v) { u32be(static_cast<uint32_t>(v)); }
    void u32le(uint32_t v);
    void i32le(int32_t v) { u32le(static_cast<uint32_t>(v)); }
    void f32le(float v);
    // A four-character code; shorter codes are padded with blanks ("gps" is "gps ").
    void fourcc(std::string_view code);
    void text(std::string_view s);
    void zeros(size_t count) { data_.resize(data_.size() + count, 0); }
    void append(const Bytes& other);

    // Overwrite in place, for fixed records laid out by offset.
    void setU8(size_t at, uint8_t v) { data_.at(at) = v; }
    void setU32le(size_t at, uint32_t v);
    void setI32le(size_t at, int32_t v) { setU32le(at, static_cast<uint32_t>(v)); }
    void setF32le(size_t at, float v);
    void setU32be(size_t at, uint32_t v);
    void setU64be(size_t at, uint64_t v);

    size_t size() const { return data_.size(); }
    bool empty() const { return data_.empty(); }
    const uint8_t* data() const { return data_.data(); }
    uint8_t operator[](size_t i) const { return data_[i]; }

    static uint16_t loadU16be(const uint8_t* p);
    static uint32_t loadU32be(const uint8_t* p);
    static uint64_t loadU64be(const uint8_t* p);

  private:
    std::vector<uint8_t> data_;
};

}  // namespace makerec
