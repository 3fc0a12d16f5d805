#pragma once

#include <cstdint>
#include <string>

#include "Layout.h"

namespace makerec {

// BlackVue (Pittasoft): a top-level 'free' box after ftyp holding ordinary child boxes:
// cprt (model), sttm (start, local clock in ms), ptnm (file name), 'gps ' (NMEA lines each
// prefixed with a local-clock [ms] stamp) and '3gf ' (about ten 10-byte G-sensor records
// per second, 128 counts per g).
class BlackVueLayout : public Layout {
  public:
    static constexpr double kCountsPerG = 128;
    static constexpr size_t kReadingsPerSecond = 10;
    static constexpr const char* kDefaultModel = "DR900S-1CH";

    Embedding embed(const Route& route) const override;

    // The recording's start on the camera's wall clock, in ms since 1970 (the sttm value).
    static int64_t startMillis(const Route& route);
    // The 'gps ' box text before its NUL padding.
    static std::string gpsLog(const Route& route);
    // The '3gf ' box payload, ending with ten 0xFF bytes.
    static Bytes accelerationLog(const Route& route);
};

}  // namespace makerec
