#pragma once

#include "GpxData.h"

// Gives every sample of a recording a position and a UTC time, one second apart, counted
// from the first valid fix (the anchor):
// - samples before the anchor take the anchor's position;
// - every sample's time is the anchor's time plus its distance from the anchor in seconds;
// - a no-fix sample (status 0) after the anchor keeps the position of the one before it;
// - without any valid fix, times count from 2000-01-01 00:00:01 and positions stay, but
//   for the no-fix hold of the rule above; so do the times when the anchor carries no real
//   date and time.
class TrackRepair {
  public:
    static void repair(GPX_SAMPLE* samples, int count);

    // Adds offset hours to hour and moves the date a day for every 24 hours it leaves 0-23.
    static void carryDate(int& year, int& month, int& day, int& hour, int offset);

    static bool isLeapYear(int year);
};
