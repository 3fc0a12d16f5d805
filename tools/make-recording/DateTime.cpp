#include "DateTime.h"

#include <chrono>
#include <cstdio>

namespace makerec {

namespace {

bool digits(std::string_view text, size_t at, size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::optional<DateTime> DateTime::parseIso(std::string_view text) {
    Fields f;
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    if (!digits(text, 0, 4, f.year) || !digits(text, 5, 2, f.month) || !digits(text, 8, 2, f.day) ||
        !digits(text, 11, 2, f.hour) || !digits(text, 14, 2, f.minute) ||
        !digits(text, 17, 2, f.second)) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{f.year},
                                           std::chrono::month{static_cast<unsigned>(f.month)},
                                           std::chrono::day{static_cast<unsigned>(f.day)}};
    if (!date.ok() || f.hour > 23 || f.minute > 59 || f.second > 59) {
        return std::nullopt;
    }
    return fromFields(f);
}

DateTime DateTime::fromFields(const Fields& f) {
    const std::chrono::sys_days days{std::chrono::year{f.year} /
                                     std::chrono::month{static_cast<unsigned>(f.month)} /
                                     std::chrono::day{static_cast<unsigned>(f.day)}};
    return DateTime(days.time_since_epoch().count() * 86400 + f.hour * 3600 + f.minute * 60 +
                    f.second);
}

DateTime::Fields DateTime::fields() const {
    const std::chrono::sys_seconds at{std::chrono::seconds{unix_}};
    const auto days = std::chrono::floor<std::chrono::days>(at);
    const std::chrono::year_month_day date{days};
    const int64_t inDay = (at - days).count();
    Fields f;
    f.year = static_cast<int>(date.year());
    f.month = static_cast<int>(static_cast<unsigned>(date.month()));
    f.day = static_cast<int>(static_cast<unsigned>(date.day()));
    f.hour = static_cast<int>(inDay / 3600);
    f.minute = static_cast<int>(inDay / 60 % 60);
    f.second = static_cast<int>(inDay % 60);
    return f;
}

std::string DateTime::iso() const {
    const Fields f = fields();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

}  // namespace makerec
