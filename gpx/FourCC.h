#pragma once

#include <cstdint>
#include <string>

namespace gpx {

// A box type or sample format as the big-endian number of its four characters.
constexpr uint32_t fourcc(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
           uint32_t(uint8_t(s[2])) << 8 | uint32_t(uint8_t(s[3]));
}

inline std::string fourccText(uint32_t code) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) {
        s[static_cast<size_t>(i)] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    }
    return s;
}

}  // namespace gpx
