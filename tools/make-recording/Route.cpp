#include "Route.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

#include "RouteError.h"
#include "ToolError.h"

namespace makerec {

namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        const size_t begin = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') {
            ++pos;
        }
        if (pos > begin) {
            fields.push_back(line.substr(begin, pos - begin));
        }
    }
    return fields;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

std::optional<double> number(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// "+03:00", "-05:30"; the whole range real zones use.
std::optional<int> zoneMinutesFrom(std::string_view text) {
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':') {
        return std::nullopt;
    }
    int hours = 0;
    int minutes = 0;
    const char* p = text.data();
    if (std::from_chars(p + 1, p + 3, hours).ptr != p + 3 ||
        std::from_chars(p + 4, p + 6, minutes).ptr != p + 6 || hours > 14 || minutes > 59) {
        return std::nullopt;
    }
    const int total = hours * 60 + minutes;
    return text[0] == '-' ? -total : total;
}

std::string zoneText(int zoneMinutes) {
    char text[24];
    const int magnitude = std::abs(zoneMinutes);
    std::snprintf(text, sizeof text, "%c%02d:%02d", zoneMinutes < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return text;
}

class LineReader {
  public:
    LineReader(const std::string& source, int line) : source_(source), line_(line) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw RouteError(source_, line_, what);
    }

    double field(std::string_view text, const char* name, double low, double high) const {
        const std::optional<double> value = number(text);
        if (!value) {
            fail(std::string(name) + " '" + std::string(text) + "' is not a number");
        }
        if (*value < low || *value > high) {
            char range[96];
            std::snprintf(range, sizeof range, " %g is outside %g..%g", *value, low, high);
            fail(name + std::string(range));
        }
        return *value;
    }

    RouteSecond second(const std::vector<std::string_view>& fields) const {
        RouteSecond s;
        if (fields[0] == "S") {
            if (fields.size() != 1) {
                fail("an 'S' second takes no values");
            }
            return s;
        }
        if (fields.size() != 8) {
            fail("expected <fix> <lat> <lon> <speed_kmh> <heading_deg> <gx> <gy> <gz>, got " +
                 std::to_string(fields.size()) + " fields");
        }
        const bool valid = fields[0] == "A";
        s.fix = valid ? RouteSecond::Fix::Valid : RouteSecond::Fix::Void;
        if (valid) {
            s.latitude = field(fields[1], "latitude", -90, 90);
            s.longitude = field(fields[2], "longitude", -180, 180);
            s.speedKmh = field(fields[3], "speed", 0, 400);
            s.heading = field(fields[4], "heading", 0, 360);
        } else {
            // Without a fix the position is ignored, but a typo there is still a typo.
            field(fields[1], "latitude", -1e9, 1e9);
            field(fields[2], "longitude", -1e9, 1e9);
            field(fields[3], "speed", -1e9, 1e9);
            field(fields[4], "heading", -1e9, 1e9);
        }
        s.gx = field(fields[5], "gx", -Route::kMaxG, Route::kMaxG);
        s.gy = field(fields[6], "gy", -Route::kMaxG, Route::kMaxG);
        s.gz = field(fields[7], "gz", -Route::kMaxG, Route::kMaxG);
        return s;
    }

  private:
    const std::string& source_;
    int line_;
};

}  // namespace

Route::Route(DateTime start, int zoneMinutes, std::string model, std::vector<RouteSecond> seconds)
    : start_(start),
      zoneMinutes_(zoneMinutes),
      model_(std::move(model)),
      seconds_(std::move(seconds)) {}

Route Route::parse(std::string_view text, const std::string& source) {
    std::optional<DateTime> start;
    int zone = 0;
    std::string model;
    std::vector<RouteSecond> seconds;

    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.empty()) {
            continue;
        }
        const LineReader reader(source, lineNumber);
        const std::string_view key = fields[0];
        if (key == "A" || key == "V" || key == "S") {
            if (seconds.size() == kMaxSeconds) {
                reader.fail("a route is at most " + std::to_string(kMaxSeconds) + " seconds");
            }
            seconds.push_back(reader.second(fields));
            continue;
        }
        if (key != "start" && key != "zone" && key != "model") {
            reader.fail("unknown line '" + std::string(key) +
                        "' (expected start, zone, model or a second A/V/S)");
        }
        if (!seconds.empty()) {
            reader.fail("'" + std::string(key) + "' must come before the first second");
        }
        if (key == "model") {
            model = trim(trim(line).substr(key.size()));
            if (model.empty() || model.find(';') != std::string::npos) {
                reader.fail("model needs a text without ';'");
            }
            continue;
        }
        if (fields.size() != 2) {
            reader.fail("'" + std::string(key) + "' takes one value");
        }
        if (key == "start") {
            if (start) {
                reader.fail("start given twice");
            }
            start = DateTime::parseIso(fields[1]);
            if (!start) {
                reader.fail("start '" + std::string(fields[1]) +
                            "' is not a UTC time like 2020-01-01T11:59:58Z");
            }
            if (!startFits(*start)) {
                reader.fail("start must lie between 2000 and 2039");
            }
        } else {
            const std::optional<int> minutes = zoneMinutesFrom(fields[1]);
            if (!minutes) {
                reader.fail("zone '" + std::string(fields[1]) + "' is not like +03:00 or -05:30");
            }
            zone = *minutes;
        }
    }
    if (!start) {
        throw RouteError(source, 0, "no 'start' line");
    }
    if (seconds.empty()) {
        throw RouteError(source, 0, "no seconds (lines starting A, V or S)");
    }
    return Route(*start, zone, std::move(model), std::move(seconds));
}

Route Route::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ToolError("cannot read route " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), path);
}

std::string Route::format() const {
    std::string out =
        "# one line per second: <fix> <lat> <lon> <speed_kmh> <heading_deg> <gx> "
        "<gy> <gz>\n";
    out += "start " + start_.iso() + "\n";
    out += "zone " + zoneText(zoneMinutes_) + "\n";
    if (!model_.empty()) {
        out += "model " + model_ + "\n";
    }
    char line[160];
    for (const RouteSecond& s : seconds_) {
        if (!s.recorded()) {
            out += "S\n";
            continue;
        }
        std::snprintf(line, sizeof line, "%c %.6f %.6f %.1f %.1f %.2f %.2f %.2f\n",
                      s.valid() ? 'A' : 'V', s.latitude, s.longitude, s.speedKmh, s.heading, s.gx,
                      s.gy, s.gz);
        out += line;
    }
    return out;
}

bool Route::startFits(const DateTime& start) {
    // Novatek counts years from 2000 and the movie header's 32-bit clock ends in 2040.
    const int year = start.fields().year;
    return year >= 2000 && year <= 2039;
}

DateTime Route::utcAt(size_t second) const {
    return start_.plus(static_cast<int64_t>(second));
}

DateTime Route::localAt(size_t second) const {
    return start_.plus(static_cast<int64_t>(second) + int64_t{zoneMinutes_} * 60);
}

}  // namespace makerec
