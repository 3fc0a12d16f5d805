#include "Nmea.h"

#include <cstdio>

#include "Units.h"

namespace makerec {

namespace {

constexpr int kMinuteDecimals = 5;

std::string clock(const DateTime& utc) {
    const DateTime::Fields f = utc.fields();
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d.00", f.hour, f.minute, f.second);
    return text;
}

std::string date(const DateTime& utc) {
    const DateTime::Fields f = utc.fields();
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", f.day, f.month, f.year % 100);
    return text;
}

// "3436.22338,S" / "05822.89552,W": unsigned degrees and minutes, then the hemisphere.
std::string position(double degrees, int degreeDigits, char positive, char negative) {
    const int64_t scaled = Units::degreesMinutesScaled(degrees, kMinuteDecimals);
    const int64_t perMinute = 100000;
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%05lld,%c", degreeDigits,
                  static_cast<long long>(scaled / perMinute / 100),
                  static_cast<long long>(scaled / perMinute % 100),
                  static_cast<long long>(scaled % perMinute), degrees < 0 ? negative : positive);
    return text;
}

std::string coordinates(const RouteSecond& s) {
    return position(s.latitude, 2, 'N', 'S') + "," + position(s.longitude, 3, 'E', 'W');
}

}  // namespace

std::string Nmea::rmcBody(std::string_view talker, const RouteSecond& s, const DateTime& utc) {
    std::string body = std::string(talker) + "RMC," + clock(utc);
    if (!s.valid()) {
        return body + ",V,,,,,,," + date(utc) + ",,,N";
    }
    char motion[48];
    std::snprintf(motion, sizeof motion, "%.3f,%.2f", Units::knots(s.speedKmh), s.heading);
    return body + ",A," + coordinates(s) + "," + motion + "," + date(utc) + ",,,A";
}

std::string Nmea::ggaBody(std::string_view talker, const RouteSecond& s, const DateTime& utc) {
    return std::string(talker) + "GGA," + clock(utc) + "," + coordinates(s) +
           ",1,08,0.90,25.0,M,14.0,M,,";
}

std::string Nmea::sealed(std::string_view body) {
    char sum[8];
    std::snprintf(sum, sizeof sum, "*%02X", checksum(body));
    return std::string(body) + sum;
}

uint8_t Nmea::checksum(std::string_view body) {
    uint8_t sum = 0;
    for (char c : body) {
        sum ^= static_cast<uint8_t>(c);
    }
    return sum;
}

}  // namespace makerec
