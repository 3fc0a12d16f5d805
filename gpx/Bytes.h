#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

// Endian-aware reads from a byte buffer. Every read is bounds-checked: a read past the end
// yields zero, so decoders never touch memory outside the block they were given.
namespace gpx::bytes {

using Span = std::span<const uint8_t>;

inline bool has(Span s, size_t offset, size_t n) {
    return offset <= s.size() && n <= s.size() - offset;
}

inline uint8_t u8(Span s, size_t o) {
    return has(s, o, 1) ? s[o] : 0;
}

inline uint16_t be16(Span s, size_t o) {
    return has(s, o, 2) ? static_cast<uint16_t>(s[o] << 8 | s[o + 1]) : 0;
}
inline uint32_t be32(Span s, size_t o) {
    if (!has(s, o, 4)) {
        return 0;
    }
    return uint32_t(s[o]) << 24 | uint32_t(s[o + 1]) << 16 | uint32_t(s[o + 2]) << 8 | s[o + 3];
}
inline uint64_t be64(Span s, size_t o) {
    return has(s, o, 8) ? uint64_t(be32(s, o)) << 32 | be32(s, o + 4) : 0;
}
inline uint16_t le16(Span s, size_t o) {
    return has(s, o, 2) ? static_cast<uint16_t>(s[o] | s[o + 1] << 8) : 0;
}
inline uint32_t le32(Span s, size_t o) {
    if (!has(s, o, 4)) {
        return 0;
    }
    return uint32_t(s[o]) | uint32_t(s[o + 1]) << 8 | uint32_t(s[o + 2]) << 16 |
           uint32_t(s[o + 3]) << 24;
}
inline uint64_t le64(Span s, size_t o) {
    return has(s, o, 8) ? uint64_t(le32(s, o)) | uint64_t(le32(s, o + 4)) << 32 : 0;
}
inline int16_t be16s(Span s, size_t o) {
    return static_cast<int16_t>(be16(s, o));
}
inline int32_t be32s(Span s, size_t o) {
    return static_cast<int32_t>(be32(s, o));
}
inline int32_t le32s(Span s, size_t o) {
    return static_cast<int32_t>(le32(s, o));
}
inline float le32f(Span s, size_t o) {
    return std::bit_cast<float>(le32(s, o));
}
inline float be32f(Span s, size_t o) {
    return std::bit_cast<float>(be32(s, o));
}
inline double le64f(Span s, size_t o) {
    return std::bit_cast<double>(le64(s, o));
}
inline double be64f(Span s, size_t o) {
    return std::bit_cast<double>(be64(s, o));
}

inline std::string_view text(Span s, size_t o, size_t n) {
    if (o > s.size()) {
        return {};
    }
    if (n > s.size() - o) {
        n = s.size() - o;
    }
    return {reinterpret_cast<const char*>(s.data() + o), n};
}

inline bool matches(Span s, size_t o, std::string_view what) {
    return has(s, o, what.size()) && std::memcmp(s.data() + o, what.data(), what.size()) == 0;
}

}  // namespace gpx::bytes
