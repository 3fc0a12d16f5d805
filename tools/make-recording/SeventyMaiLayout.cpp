#include "SeventyMaiLayout.h"

#include <cmath>
#include <utility>

#include "Route.h"
#include "Units.h"

namespace makerec {

Embedding SeventyMaiLayout::embed(const Route& route) const {
    Bytes box;
    for (size_t second = 0; second < route.length(); ++second) {
        const RouteSecond& s = route.seconds()[second];
        if (!s.recorded()) {
            continue;
        }
        Bytes record;
        record.u32le(1);
        record.u32le(1);
        record.u32le(static_cast<uint32_t>(second));
        record.zeros(kRecordSize - record.size());
        // Without a fix the camera leaves zeros where the hemisphere letters and values go.
        if (s.valid()) {
            record.setU32le(12, static_cast<uint32_t>(std::lround(s.speedKmh * 1000)));
            record.setU8(16, s.latitude < 0 ? 'S' : 'N');
            record.setU32le(17, static_cast<uint32_t>(Units::degreesMinutesScaled(s.latitude, 3)));
            record.setU8(21, s.longitude < 0 ? 'W' : 'E');
            record.setU32le(22, static_cast<uint32_t>(Units::degreesMinutesScaled(s.longitude, 3)));
        }
        box.append(record);
    }
    box.zeros(kRecordSize);

    Embedding e;
    e.topLevel.emplace_back("GPS ", std::move(box));
    return e;
}

}  // namespace makerec
