#pragma once

#include <cstdint>

#include "Layout.h"

namespace makerec {

// Novatek cameras: one 'freeGPS ' block per second inside mdat, found through the index box
// moov/gps (u32 BE offset and size per second).
class NovatekLayout : public Layout {
  public:
    enum class Record {
        Classic,  // time at 0x30, fix at 0x48, no G-sensor
        A119,     // time at 0x10, fix at 0x28, accelerometer at 0x3C (÷256 g)
    };

    // Throws ToolError when blockSize cannot hold the record.
    NovatekLayout(Record record, uint32_t blockSize, bool index, bool localTime);

    Embedding embed(const Route& route) const override;

  private:
    Bytes block(const Route& route, size_t second) const;

    Record record_;
    uint32_t blockSize_;
    bool index_;
    bool localTime_;
};

}  // namespace makerec
