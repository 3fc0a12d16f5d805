#pragma once

#include <cstdint>

namespace makerec {

// Where one sample or block sits in the GPS payload appended to the media data, counted from
// the payload's first byte. The file offset is only known once the file is laid out.
struct PayloadSlice {
    uint64_t offset = 0;
    uint32_t size = 0;
    bool present = true;  // false: an index entry for a second the camera skipped

    bool operator==(const PayloadSlice&) const = default;
};

}  // namespace makerec
