// Week numbers of the year under the locale's first day of the week and first-week rule, for the
// week placeholder of scheduled memos.
#pragma once

#include "DateTime.h"

namespace dove {

// The locale's first-week-of-year rules.
enum FirstWeekRule : int {
    kWeekContainingJanuaryFirst = 0,
    kFirstFullWeek = 1,
    kFirstFourDayWeek = 2,
};

// The week of the year of date, counted from 1. firstDayOfWeek is 0 Monday to 6 Sunday; a value
// outside that range counts as Monday, and a rule outside 0..2 as kWeekContainingJanuaryFirst.
// Week 1 starts on the first day of the week that begins the week holding 1 January (rule 0), on the
// first such day on or after 1 January (rule 1), or on the one that begins the first week with at
// least four days in January (rule 2). A date before its year's week 1 (rules 1 and 2) lies in the
// last week of the previous year and takes that week's number (31 December's). Weeks are counted in
// the date's own year up to 31 December, which may so lie in week 53 or 54.
int weekOfYear(Date date, int firstDayOfWeek, int rule);

}  // namespace dove
