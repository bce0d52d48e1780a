// Calendar arithmetic on day numbers (whole days since 1 January 1601, a Monday), on which the schedule
// frequencies and the week numbering work: the proleptic Gregorian calendar, with no time-zone step.
#pragma once

#include <cstdint>

#include "DateTime.h"

namespace dove::calendar {

// The years a date of the store can name (the platform's calendar range).
inline constexpr int kFirstYear = 1601;
inline constexpr int kLastYear = 30827;

struct CivilDay {
    int year = kFirstYear;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
};

bool isLeapYear(int year);
// 28 to 31; 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// The day number of a calendar day (month 1..12, day 1..31; not checked against the month's length).
int64_t dayNumber(int year, int month, int day);
inline int64_t dayNumber(const CivilDay& d) {
    return dayNumber(d.year, d.month, d.day);
}
// The calendar day of a day number (any day number, also outside the store's range).
CivilDay civilDay(int64_t dayNumber);
// 0 Monday to 6 Sunday.
int weekdayFromMonday(int64_t dayNumber);

// A date split into its day number and its time of day, and joined again. joinDate gives kNoDate when
// the day lies outside the years kFirstYear to kLastYear.
inline constexpr Date kNoDate = 0;
inline int64_t dayOf(Date date) {
    return static_cast<int64_t>(date / kDateDay);
}
inline Date timeOfDay(Date date) {
    return date % kDateDay;
}
Date joinDate(int64_t dayNumber, Date timeOfDay);

}  // namespace dove::calendar
