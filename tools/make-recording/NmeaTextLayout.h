#pragma once

#include "Layout.h"

namespace makerec {

// NMEA sentences in a track, one sample per second: RMC and GGA, each ending CR LF. Either a
// QuickTime text track or an Apple subtitle track ('sbtl' handler, 'tx3g' entry).
class NmeaTextLayout : public Layout {
  public:
    enum class Track { Text, Subtitle };

    explicit NmeaTextLayout(Track track) : track_(track) {}

    Embedding embed(const Route& route) const override;

    // The text of one second; empty for a second the camera skipped.
    static std::string sampleText(const Route& route, size_t second);

  private:
    Track track_;
};

}  // namespace makerec
