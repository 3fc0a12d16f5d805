#pragma once

#include <cstddef>

// One second of a recording as the GPS library hands it to its callers. The byte layout is
// fixed: callers read the array with these offsets, so fields are never reordered.
struct GPX_SAMPLE {
    int nStatus;        // 1 valid fix, 0 no fix
    double dLatitude;   // decimal degrees, south negative
    double dLongitude;  // decimal degrees, west negative
    double dAngle;      // heading, degrees true
    double dSpeed;      // km/h
    int nYear;          // UTC, with century
    int nMonth;
    int nDay;
    int nHour;
    int nMinute;
    int nSecond;
    double dGSum;  // g; the square root of the summed squares of the three axes
    double dGx;
    double dGy;
    double dGz;
};

static_assert(sizeof(GPX_SAMPLE) == 96);
static_assert(offsetof(GPX_SAMPLE, nStatus) == 0);
static_assert(offsetof(GPX_SAMPLE, dLatitude) == 8);
static_assert(offsetof(GPX_SAMPLE, dLongitude) == 16);
static_assert(offsetof(GPX_SAMPLE, dAngle) == 24);
static_assert(offsetof(GPX_SAMPLE, dSpeed) == 32);
static_assert(offsetof(GPX_SAMPLE, nYear) == 40);
static_assert(offsetof(GPX_SAMPLE, nMonth) == 44);
static_assert(offsetof(GPX_SAMPLE, nDay) == 48);
static_assert(offsetof(GPX_SAMPLE, nHour) == 52);
static_assert(offsetof(GPX_SAMPLE, nMinute) == 56);
static_assert(offsetof(GPX_SAMPLE, nSecond) == 60);
static_assert(offsetof(GPX_SAMPLE, dGSum) == 64);
static_assert(offsetof(GPX_SAMPLE, dGx) == 72);
static_assert(offsetof(GPX_SAMPLE, dGy) == 80);
static_assert(offsetof(GPX_SAMPLE, dGz) == 88);

// The whole recording: its length and one sample per second, owned by the library.
struct GPX_DATA {
    double dDuration;      // seconds
    GPX_SAMPLE* pSamples;  // nCount contiguous samples, null when there are none
    int nCount;
};

static_assert(offsetof(GPX_DATA, dDuration) == 0);
static_assert(offsetof(GPX_DATA, pSamples) == 8);
static_assert(sizeof(GPX_SAMPLE*) == 8, "GPX_DATA is laid out for 64-bit programs");
