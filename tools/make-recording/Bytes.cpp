#include "Bytes.h"

#include <bit>

namespace makerec {

void Bytes::u16be(uint16_t v) {
    u8(static_cast<uint8_t>(v >> 8));
    u8(static_cast<uint8_t>(v));
}

void Bytes::u32be(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        u8(static_cast<uint8_t>(v >> shift));
    }
}

void Bytes::u64be(uint64_t v) {
    for (int shift = 56; shift >= 0; shift -= 8) {
        u8(static_cast<uint8_t>(v >> shift));
    }
}

void Bytes::u32le(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        u8(static_cast<uint8_t>(v >> shift));
    }
}

void Bytes::f32le(float v) {
    u32le(std::bit_cast<uint32_t>(v));
}

void Bytes::fourcc(std::string_view code) {
    for (size_t i = 0; i < 4; ++i) {
        u8(static_cast<uint8_t>(i < code.size() ? code[i] : ' '));
    }
}

void Bytes::text(std::string_view s) {
    data_.insert(data_.end(), s.begin(), s.end());
}

void Bytes::append(const Bytes& other) {
    data_.insert(data_.end(), other.data_.begin(), other.data_.end());
}

void Bytes::setU32le(size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) {
        data_.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
    }
}

void Bytes::setF32le(size_t at, float v) {
    setU32le(at, std::bit_cast<uint32_t>(v));
}

void Bytes::setU32be(size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) {
        data_.at(at + i) = static_cast<uint8_t>(v >> (24 - 8 * i));
    }
}

void Bytes::setU64be(size_t at, uint64_t v) {
    for (size_t i = 0; i < 8; ++i) {
        data_.at(at + i) = static_cast<uint8_t>(v >> (56 - 8 * i));
    }
}

uint16_t Bytes::loadU16be(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t Bytes::loadU32be(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint64_t Bytes::loadU64be(const uint8_t* p) {
    return (uint64_t{loadU32be(p)} << 32) | loadU32be(p + 4);
}

}  // namespace makerec
