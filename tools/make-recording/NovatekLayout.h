#pragma once

#include <cstdint>

#include "Layout.h"
#include "RouteSecond.h"

namespace makerec {

// Novatek cameras: one 'freeGPS ' block per second inside mdat, found through the index box
// moov/gps (u32 BE offset and size per second).
class NovatekLayout : public Layout {
  public:
    enum class Record {
        Classic,  // time at 0x30, fix at 0x48, no G-sensor
        A119,     // time at 0x10, fix at 0x28, accelerometer at 0x3C (÷256 g)
        // Look-alikes of the classic record: the same places, other numbers.
        Scaled,   // coordinates scaled and shifted; a top-level 'frea' box names the firmware
        Decimal,  // signed decimal degrees and km/h, in blocks of 0x4000 bytes
        Iqs,      // "IQS" firmware: degrees × 10^7 and m/s × 100 as integers
    };

    // The block size a record's cameras write, when --block-size does not say.
    static uint32_t defaultBlockSize(Record record);

    // Throws ToolError when blockSize cannot hold the record.
    NovatekLayout(Record record, uint32_t blockSize, bool index, bool localTime);

    Embedding embed(const Route& route) const override;

  private:
    Bytes block(const Route& route, size_t second) const;
    void writeValues(Bytes& b, size_t at, const RouteSecond& s) const;

    Record record_;
    uint32_t blockSize_;
    bool index_;
    bool localTime_;
};

}  // namespace makerec
