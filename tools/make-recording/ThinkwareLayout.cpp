#include "ThinkwareLayout.h"

#include <utility>

#include "Nmea.h"
#include "Route.h"
#include "Units.h"

namespace makerec {

std::string ThinkwareLayout::sampleText(const Route& route, size_t second) {
    const RouteSecond& s = route.seconds()[second];
    if (!s.recorded()) {
        return {};
    }
    return "gsensori,4,512," + std::to_string(Units::counts(s.gx, kCountsPerG)) + "," +
           std::to_string(Units::counts(s.gy, kCountsPerG)) + "," +
           std::to_string(Units::counts(s.gz, kCountsPerG)) + ";" +
           Nmea::sealed(Nmea::rmcBody("GN", s, route.utcAt(second))) +
           ";CAR,0,0,0,0.0,0,0,0,0,0,0,0,0";
}

Embedding ThinkwareLayout::embed(const Route& route) const {
    Embedding e;
    MetadataTrack track = MetadataTrack::quickTimeText("GPS text");
    for (size_t second = 0; second < route.length(); ++second) {
        track.addTextSample(e.payload, sampleText(route, second));
    }
    e.tracks.push_back(std::move(track));
    return e;
}

}  // namespace makerec
