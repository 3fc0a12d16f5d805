#include "NmeaParser.h"

#include <array>
#include <charconv>
#include <cmath>

#include "CivilTime.h"

namespace gpx {

namespace {

constexpr double kKnotsToKmh = 1.852;

// The fields of a sentence between its separators. The sentences we read use their first
// ten fields; where later ones start is not kept, so splitting never allocates.
class Fields {
  public:
    Fields(std::string_view s, char sep) : text_(s) {
        starts_[0] = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == sep && ++separators_ < kKept) {
                starts_[separators_] = i + 1;
            }
        }
    }
    size_t size() const { return separators_ + 1; }
    // Empty for a field that is not there or not kept.
    std::string_view operator[](size_t i) const {
        if (i > separators_ || i + 1 >= kKept) {
            return {};
        }
        size_t end = i == separators_ ? text_.size() : starts_[i + 1] - 1;
        return text_.substr(starts_[i], end - starts_[i]);
    }

  private:
    static constexpr size_t kKept = 13;
    std::string_view text_;
    size_t separators_ = 0;
    size_t starts_[kKept];  // set up to the separators seen
};

// Whether a sentence has at least n comma-separated fields: a cheap look before splitting,
// as most damaged text is short pieces that are no sentence.
bool hasFields(std::string_view s, size_t n) {
    size_t fields = 1;
    for (char c : s) {
        fields += c == ',';
    }
    return fields >= n;
}

// The first of the given characters at or after start, or npos. (A plain loop: the library's
// search for one of a set of characters scans the set once for every character of the text.)
size_t findAny(std::string_view s, std::string_view set, size_t start) {
    for (size_t i = start; i < s.size(); ++i) {
        for (char c : set) {
            if (s[i] == c) {
                return i;
            }
        }
    }
    return std::string_view::npos;
}

bool allDigits(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int digitsValue(std::string_view s) {
    int v = 0;
    for (char c : s) {
        v = v * 10 + (c - '0');
    }
    return v;
}

std::optional<double> parseNumber(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    if (s.empty()) {
        return std::nullopt;
    }
    if (s.front() == '+') {
        s.remove_prefix(1);
    }
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

// Removes "*hh" from the end and checks it against the XOR of the sentence's characters.
std::string_view stripChecksum(std::string_view sentence, bool& ok) {
    ok = true;
    size_t star = sentence.rfind('*');
    if (star == std::string_view::npos) {
        return sentence;
    }
    std::string_view hex = sentence.substr(star + 1);
    unsigned sum = 0;
    for (char c : sentence.substr(0, star)) {
        sum ^= static_cast<unsigned char>(c);
    }
    unsigned given = 0;
    auto [ptr, ec] =
        std::from_chars(hex.data(), hex.data() + std::min<size_t>(hex.size(), 2), given, 16);
    ok = ec == std::errc() && ptr == hex.data() + 2 && given == sum;
    return sentence.substr(0, star);
}

}  // namespace

int64_t RmcSentence::utcMillis() const {
    CivilTime t{year, month, day, hour, minute, second};
    return t.toUnix() * 1000 + millis;
}

Fix RmcSentence::toFix(double offset) const {
    Fix f;
    f.offset = offset;
    f.valid = valid;
    f.hasTime = hasUtc();
    if (f.hasTime) {
        f.utcMillis = utcMillis();
    }
    f.latitude = latitude;
    f.longitude = longitude;
    f.speedKmh = speedKmh;
    f.heading = course;
    return f;
}

std::optional<double> NmeaParser::parseDegreesMinutes(std::string_view text) {
    size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    std::string_view frac =
        dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.size() < 3 || !allDigits(whole) || (!frac.empty() && !allDigits(frac)) ||
        whole.size() > 5) {
        return std::nullopt;
    }
    int degrees = digitsValue(whole.substr(0, whole.size() - 2));
    int minutesWhole = digitsValue(whole.substr(whole.size() - 2));
    double minutesFrac = 0.0;
    double scale = 0.1;
    for (char c : frac.substr(0, 12)) {
        minutesFrac += (c - '0') * scale;
        scale /= 10.0;
    }
    double minutes = minutesWhole + minutesFrac;
    if (minutes >= 60.0) {
        return std::nullopt;
    }
    return degrees + minutes / 60.0;
}

std::optional<RmcSentence> NmeaParser::parseRmc(std::string_view sentence) {
    if (!hasFields(sentence, 10)) {
        return std::nullopt;
    }
    RmcSentence r;
    std::string_view body = stripChecksum(sentence, r.checksumOk);
    Fields f(body, ',');
    if (f.size() < 10 || f[0].size() < 3 || f[0].substr(f[0].size() - 3) != "RMC") {
        return std::nullopt;
    }
    // time hhmmss[.sss]
    std::string_view time = f[1];
    if (time.size() >= 6 && allDigits(time.substr(0, 6))) {
        r.hour = digitsValue(time.substr(0, 2));
        r.minute = digitsValue(time.substr(2, 2));
        r.second = digitsValue(time.substr(4, 2));
        if (time.size() > 7 && time[6] == '.' && allDigits(time.substr(7))) {
            std::string_view ms = time.substr(7, 3);
            r.millis = digitsValue(ms);
            for (size_t i = ms.size(); i < 3; ++i) {
                r.millis *= 10;
            }
        }
        r.hasTime = r.hour < 24 && r.minute < 60 && r.second < 61;
    }
    r.valid = f[2] == "A";
    auto lat = parseDegreesMinutes(f[3]);
    auto lon = parseDegreesMinutes(f[5]);
    bool ns = f[4] == "N" || f[4] == "S";
    bool ew = f[6] == "E" || f[6] == "W";
    if (lat && lon && ns && ew && *lat <= 90.0 && *lon <= 180.0) {
        r.hasPosition = true;
        r.latitude = f[4] == "S" ? -*lat : *lat;
        r.longitude = f[6] == "W" ? -*lon : *lon;
    }
    // A negative speed is no speed a receiver gives: the fix check turns the second down.
    if (auto knots = parseNumber(f[7])) {
        r.speedKmh = *knots * kKnotsToKmh;
    }
    if (auto course = parseNumber(f[8])) {
        r.course = *course;
    }
    std::string_view date = f[9];
    if (date.size() == 6 && allDigits(date)) {
        r.day = digitsValue(date.substr(0, 2));
        r.month = digitsValue(date.substr(2, 2));
        int yy = digitsValue(date.substr(4, 2));
        r.year = yy >= 70 ? 1900 + yy : 2000 + yy;
        CivilTime check{r.year, r.month, r.day, 0, 0, 0};
        r.hasDate = check.isValid();
    }
    if (!r.hasPosition) {
        r.valid = false;
    }
    return r;
}

std::optional<GSensorSentence> NmeaParser::parseGSensor(std::string_view sentence) {
    if (!hasFields(sentence, 6)) {
        return std::nullopt;
    }
    bool ok = true;
    Fields f(stripChecksum(sentence, ok), ',');
    if (f.size() < 6 || f[0] != "gsensori") {
        return std::nullopt;
    }
    auto perG = parseNumber(f[2]);
    if (!perG || *perG <= 0.0) {
        return std::nullopt;
    }
    auto x = parseNumber(f[3]);
    auto y = parseNumber(f[4]);
    auto z = parseNumber(f[5]);
    if (!x || !y || !z) {
        return std::nullopt;
    }
    return GSensorSentence{*x / *perG, *y / *perG, *z / *perG};
}

NmeaLine NmeaParser::parseLine(std::string_view line) {
    NmeaLine out;
    if (!line.empty() && line.front() == '[') {
        size_t close = line.find(']');
        if (close != std::string_view::npos) {
            int64_t stamp = 0;
            std::string_view digits = line.substr(1, close - 1);
            auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), stamp);
            if (ec == std::errc() && ptr == digits.data() + digits.size()) {
                out.stamp = stamp;
            }
            line.remove_prefix(close + 1);
        }
    }
    // Sentences are separated by ';' in the text-track style and start with '$' in NMEA.
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = findAny(line, ";$", start);
        std::string_view sentence = line.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (sentence.size() >= 5) {
            if (sentence.substr(2, 3) == "RMC") {
                if (auto rmc = parseRmc(sentence)) {
                    out.rmc.push_back(*rmc);
                }
            } else if (sentence.starts_with("gsensori,")) {
                if (auto g = parseGSensor(sentence)) {
                    out.gsensor.push_back(*g);
                }
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return out;
}

std::vector<NmeaLine> NmeaParser::parseText(std::string_view text) {
    std::vector<NmeaLine> lines;
    forEachLine(text, [&lines](NmeaLine&& line) {
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

void NmeaParser::forEachLine(std::string_view text, const std::function<bool(NmeaLine&&)>& visit) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = findAny(text, std::string_view("\r\n\0", 3), start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty()) {
            NmeaLine parsed = parseLine(line);
            if ((!parsed.rmc.empty() || !parsed.gsensor.empty()) && !visit(std::move(parsed))) {
                return;
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
}

}  // namespace gpx
