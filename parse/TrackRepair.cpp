#include "TrackRepair.h"

namespace {

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 31;
    }
    return kDays[month - 1] + (month == 2 && TrackRepair::isLeapYear(year) ? 1 : 0);
}

// True when the fields name a real date and time of day, so counting from them gives dates.
bool hasRealTime(const GPX_SAMPLE& s) {
    return s.nYear >= 1 && s.nYear <= 9999 && s.nMonth >= 1 && s.nMonth <= 12 && s.nDay >= 1 &&
           s.nDay <= daysInMonth(s.nYear, s.nMonth) && s.nHour >= 0 && s.nHour <= 23 &&
           s.nMinute >= 0 && s.nMinute <= 59 && s.nSecond >= 0 && s.nSecond <= 60;
}

}  // namespace

bool TrackRepair::isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void TrackRepair::carryDate(int& year, int& month, int& day, int& hour, int offset) {
    // One day per step; more than one step only for a recording longer than a day, where a
    // single step would give a plainly wrong date.
    long long h = static_cast<long long>(hour) + offset;
    while (h >= 24) {
        h -= 24;
        if (day >= daysInMonth(year, month)) {
            day = 1;
            if (month >= 12) {
                month = 1;
                ++year;
            } else {
                ++month;
            }
        } else {
            ++day;
        }
    }
    while (h < 0) {
        h += 24;
        if (day <= 1) {
            if (month <= 1) {
                month = 12;
                --year;
            } else {
                --month;
            }
            day = daysInMonth(year, month);
        } else {
            --day;
        }
    }
    hour = static_cast<int>(h);
}

void TrackRepair::repair(GPX_SAMPLE* samples, int count) {
    if (samples == nullptr || count <= 0) {
        return;
    }
    int anchor = -1;
    for (int i = 0; i < count; ++i) {
        if (samples[i].nStatus == 1) {
            anchor = i;
            break;
        }
    }

    // A fix without a real date (day 0 of month 0) would give every sample a date that is
    // none; its samples are timed as if there were no fix, and only its position counts.
    bool timedFromAnchor = anchor >= 0 && hasRealTime(samples[anchor]);
    if (!timedFromAnchor) {
        int hour = 0, minute = 0, second = 0;
        for (int i = 0; i < count; ++i) {
            if (++second >= 60) {
                second = 0;
                if (++minute >= 60) {
                    minute = 0;
                    ++hour;
                }
            }
            GPX_SAMPLE& s = samples[i];
            s.nYear = 2000;
            s.nMonth = 1;
            s.nDay = 1;
            s.nHour = hour;
            s.nMinute = minute;
            s.nSecond = second;
        }
    }
    if (anchor >= 0) {
        const GPX_SAMPLE a = samples[anchor];
        for (int i = 0; i < anchor; ++i) {
            samples[i].dLatitude = a.dLatitude;
            samples[i].dLongitude = a.dLongitude;
        }
        for (int i = 0; timedFromAnchor && i < count; ++i) {
            // Whole minutes and hours are taken out with division, which gives what the
            // one-at-a-time carry gives, without looping over a long recording's seconds.
            long long seconds = static_cast<long long>(a.nSecond) + (i - anchor);
            long long minutes = a.nMinute;
            long long carry = seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
            seconds -= carry * 60;
            minutes += carry;
            long long hourOffset = minutes >= 0 ? minutes / 60 : -((-minutes + 59) / 60);
            minutes -= hourOffset * 60;
            int year = a.nYear, month = a.nMonth, day = a.nDay, hour = a.nHour;
            carryDate(year, month, day, hour, static_cast<int>(hourOffset));
            GPX_SAMPLE& s = samples[i];
            s.nYear = year;
            s.nMonth = month;
            s.nDay = day;
            s.nHour = hour;
            s.nMinute = static_cast<int>(minutes);
            s.nSecond = static_cast<int>(seconds);
        }
    }

    // A no-fix second after the first fix holds the last known position.
    for (int i = 1; i < count; ++i) {
        if (samples[i].nStatus == 0 && i > anchor) {
            samples[i].dLatitude = samples[i - 1].dLatitude;
            samples[i].dLongitude = samples[i - 1].dLongitude;
        }
    }
}
