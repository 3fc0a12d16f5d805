#include "BlackVueLayout.h"

#include <cstdio>
#include <utility>

#include "Nmea.h"
#include "Prng.h"
#include "Route.h"
#include "SensorBurst.h"
#include "Units.h"

namespace makerec {

namespace {

constexpr size_t kTextPadding = 1024;

std::string fileName(const Route& route) {
    const DateTime::Fields f = route.localAt(0).fields();
    char name[48];
    std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d_NF.mp4", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return name;
}

}  // namespace

int64_t BlackVueLayout::startMillis(const Route& route) {
    return route.localAt(0).unixSeconds() * 1000;
}

std::string BlackVueLayout::gpsLog(const Route& route) {
    // The camera stamps each line when the receiver's burst arrives, which wanders a few
    // hundred ms around the second; never before the recording started.
    Prng random(0x3647505342ULL);
    std::string log;
    for (size_t second = 0; second < route.length(); ++second) {
        const int jitter = static_cast<int>(random.below(801)) - 400;
        const RouteSecond& s = route.seconds()[second];
        if (!s.recorded()) {
            continue;
        }
        const int64_t stamp = startMillis(route) + static_cast<int64_t>(second) * 1000 +
                              (second == 0 ? (jitter < 0 ? -jitter : jitter) : jitter);
        const std::string bracket = "[" + std::to_string(stamp) + "]";
        const DateTime utc = route.utcAt(second);
        log += bracket + Nmea::sentence(Nmea::rmcBody("GP", s, utc)) + "\n";
        if (s.valid()) {
            log += bracket + Nmea::sentence(Nmea::ggaBody("GP", s, utc)) + "\n";
        }
    }
    return log;
}

Bytes BlackVueLayout::accelerationLog(const Route& route) {
    Prng random(0x336766ULL);
    Bytes records;
    for (size_t second = 0; second < route.length(); ++second) {
        const RouteSecond& s = route.seconds()[second];
        if (!s.recorded()) {
            continue;
        }
        const SensorBurst burst({Units::counts(s.gx, kCountsPerG), Units::counts(s.gy, kCountsPerG),
                                 Units::counts(s.gz, kCountsPerG)},
                                kReadingsPerSecond, random);
        for (size_t i = 0; i < kReadingsPerSecond; ++i) {
            const uint32_t ms = static_cast<uint32_t>(second * 1000 + i * 100 + random.below(30));
            records.u32be(ms);
            for (int32_t v : burst.readings()[i]) {
                records.i16be(static_cast<int16_t>(v));
            }
        }
    }
    for (int i = 0; i < 10; ++i) {
        records.u8(0xFF);
    }
    return records;
}

Embedding BlackVueLayout::embed(const Route& route) const {
    const std::string model = route.model().empty() ? kDefaultModel : route.model();
    Bytes cprt;
    cprt.text(" Pittasoft Co., Ltd.;" + model + ";1.008;English;1;0000000000;T69;");
    Bytes sttm;
    sttm.u64be(static_cast<uint64_t>(startMillis(route)));
    Bytes ptnm;
    ptnm.u32be(0);
    ptnm.text(fileName(route));
    ptnm.u8(0);
    Bytes gps;
    const std::string log = gpsLog(route);
    gps.text(log);
    gps.zeros((log.size() / kTextPadding + 1) * kTextPadding - log.size());

    Embedding e;
    e.topLevel.emplace_back(
        "free", std::vector<Atom>{Atom("cprt", std::move(cprt)), Atom("sttm", std::move(sttm)),
                                  Atom("ptnm", std::move(ptnm)), Atom("gps ", std::move(gps)),
                                  Atom("3gf ", accelerationLog(route))});
    return e;
}

}  // namespace makerec
