#pragma once

#include "Layout.h"

namespace makerec {

// The Thinkware text track: per second
// "gsensori,4,512,X,Y,Z;GNRMC,...*hh;CAR,0,0,0,0.0,0,0,0,0,0,0,0,0" with no '$' before GNRMC.
// X, Y, Z are G in counts of 512 per g (our reading of the "512").
class ThinkwareLayout : public Layout {
  public:
    static constexpr double kCountsPerG = 512;

    Embedding embed(const Route& route) const override;

    // The text of one second; empty for a second the camera skipped.
    static std::string sampleText(const Route& route, size_t second);
};

}  // namespace makerec
