#include "NmeaTextLayout.h"

#include <utility>

#include "Nmea.h"
#include "Route.h"

namespace makerec {

std::string NmeaTextLayout::sampleText(const Route& route, size_t second) {
    const RouteSecond& s = route.seconds()[second];
    if (!s.recorded()) {
        return {};
    }
    const DateTime utc = route.utcAt(second);
    std::string text = Nmea::sentence(Nmea::rmcBody("GP", s, utc)) + "\r\n";
    if (s.valid()) {
        text += Nmea::sentence(Nmea::ggaBody("GP", s, utc)) + "\r\n";
    }
    return text;
}

Embedding NmeaTextLayout::embed(const Route& route) const {
    Embedding e;
    MetadataTrack track = track_ == Track::Text ? MetadataTrack::quickTimeText("GPS text")
                                                : MetadataTrack::subtitle("GPS subtitles");
    for (size_t second = 0; second < route.length(); ++second) {
        // A skipped second is still a sample, of length 0, so later samples keep their time.
        track.addTextSample(e.payload, sampleText(route, second));
    }
    e.tracks.push_back(std::move(track));
    return e;
}

}  // namespace makerec
