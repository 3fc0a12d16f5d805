#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace makerec {

// A whole second on the UTC time line. Layouts that store local wall-clock time take the
// fields of a DateTime shifted by the camera's zone.
class DateTime {
  public:
    struct Fields {
        int year = 1970;
        int month = 1;
        int day = 1;
        int hour = 0;
        int minute = 0;
        int second = 0;
    };

    DateTime() = default;
    explicit DateTime(int64_t unixSeconds) : unix_(unixSeconds) {}

    // "2020-01-01T11:59:58Z"; nothing for any other spelling or an impossible date.
    static std::optional<DateTime> parseIso(std::string_view text);
    static DateTime fromFields(const Fields& fields);

    int64_t unixSeconds() const { return unix_; }
    // Seconds since 1904-01-01, the epoch of the movie header's creation time.
    int64_t movieSeconds() const { return unix_ + kMovieEpochOffset; }
    Fields fields() const;
    DateTime plus(int64_t seconds) const { return DateTime(unix_ + seconds); }
    std::string iso() const;

    bool operator==(const DateTime&) const = default;

  private:
    static constexpr int64_t kMovieEpochOffset = 2082844800;
    int64_t unix_ = 0;
};

}  // namespace makerec
