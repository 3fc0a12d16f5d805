#pragma once

#include "Layout.h"

namespace makerec {

// 70mai: a top-level 'GPS ' box after ftyp of 36-byte little-endian records, one per second
// with data, ended by an all-zero record. No absolute time: each record counts seconds from
// the recording's start. No G-sensor.
class SeventyMaiLayout : public Layout {
  public:
    static constexpr size_t kRecordSize = 36;

    Embedding embed(const Route& route) const override;
};

}  // namespace makerec
