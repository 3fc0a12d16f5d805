#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "DateTime.h"
#include "RouteSecond.h"

namespace makerec {

// NMEA 0183 sentences as GPS receivers send them to cameras. Bodies come without '$' and
// checksum because some cameras (Thinkware) drop the '$'.
class Nmea {
  public:
    // "GPRMC,hhmmss.00,A,ddmm.mmmmm,N,dddmm.mmmmm,E,knots,course,ddmmyy,,,A"; a second
    // without a fix keeps its time and date and nothing else.
    static std::string rmcBody(std::string_view talker, const RouteSecond& s, const DateTime& utc);
    // "GPGGA,hhmmss.00,ddmm.mmmmm,N,dddmm.mmmmm,E,1,08,0.90,alt,M,geoid,M,,". Altitude is
    // not part of the route; receivers always send one, so a constant stands in.
    static std::string ggaBody(std::string_view talker, const RouteSecond& s, const DateTime& utc);

    // body + "*hh"
    static std::string sealed(std::string_view body);
    // "$" + body + "*hh"
    static std::string sentence(std::string_view body) { return "$" + sealed(body); }
    // XOR of every character of the body.
    static uint8_t checksum(std::string_view body);
};

}  // namespace makerec
