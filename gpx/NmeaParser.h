#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "RawTrack.h"

namespace gpx {

// One recommended-minimum sentence (RMC), the sentence every GNSS receiver sends once a
// second with time, date, status, position, speed and course.
struct RmcSentence {
    bool hasTime = false;
    int hour = 0, minute = 0, second = 0, millis = 0;
    bool hasDate = false;
    int year = 0, month = 0, day = 0;
    bool valid = false;  // status A
    bool hasPosition = false;
    double latitude = 0.0;  // signed decimal degrees
    double longitude = 0.0;
    double speedKmh = 0.0;
    double course = 0.0;
    bool checksumOk = true;  // a wrong checksum is noted, not rejected: some firmware gets it wrong

    bool hasUtc() const { return hasTime && hasDate; }
    int64_t utcMillis() const;
    // As a fix of the recording at offset seconds.
    Fix toFix(double offset) const;
};

// A G-sensor reading in the text-track style "gsensori,<range>,<counts per g>,x,y,z".
struct GSensorSentence {
    double x = 0.0, y = 0.0, z = 0.0;  // g
};

// One line of a camera's GPS text, split into the sentences we read. A line may hold
// several sentences: "$GPRMC...\r\n$GPGGA...", or "gsensori,...;GNRMC,...;CAR,..." without
// dollar signs, and may start with a "[milliseconds]" stamp.
struct NmeaLine {
    std::optional<int64_t> stamp;  // the bracketed number before the sentence, if any
    std::vector<RmcSentence> rmc;
    std::vector<GSensorSentence> gsensor;
};

class NmeaParser {
  public:
    // Parses one sentence without its leading '$', e.g. "GPRMC,123519,A,4807.038,N,...*6A".
    static std::optional<RmcSentence> parseRmc(std::string_view sentence);
    static std::optional<GSensorSentence> parseGSensor(std::string_view sentence);

    // Splits text into lines (at CR, LF and NUL) and reads every sentence in each.
    static std::vector<NmeaLine> parseText(std::string_view text);
    // The same one line at a time, for a long log: visit gets each line that holds a
    // sentence we read and returns false to stop.
    static void forEachLine(std::string_view text, const std::function<bool(NmeaLine&&)>& visit);
    // Reads the sentences of one line.
    static NmeaLine parseLine(std::string_view line);

    // Unsigned degrees-and-minutes text ("4807.038", "01131.000") as decimal degrees,
    // split on the digits rather than through floating point.
    static std::optional<double> parseDegreesMinutes(std::string_view text);
};

}  // namespace gpx
