// The repetition codes of scheduled items and their date arithmetic: the date n periods after (or
// before) a date, for every code, and the codes' names.
#pragma once

#include <cstdint>
#include <string>

#include "DateTime.h"

namespace dove {

// Planner property 252.
enum Frequency : int32_t {
    kOnlyOnce = 0,
    kWeekly = 1,
    kEveryTwoWeeks = 2,
    kTwiceAMonth = 3,
    kEveryFourWeeks = 4,
    kMonthly = 5,
    kLastDayOfMonth = 6,
    kEveryTwoMonths = 7,
    kQuarterly = 8,
    kTwiceAYear = 9,
    kAnnually = 10,
    kEveryDay = 11,
    kEveryNDays = 12,
};
inline constexpr int32_t kFrequencyCount = 13;

// The date n periods of the frequency after date (before it for negative n), keeping date's time of
// day; interval is the day count of kEveryNDays. A code outside 0..12, like kOnlyOnce, leaves the date
// as it is. Month steps lower a day the target month lacks to its last day (31 January + 1 month is
// 28 or 29 February) and are counted from date itself, so every occurrence follows from the first
// one. Twice a month steps between day d0 and day d0 + 15 of each month, d0 being the date's day
// when it is 15 or less and the day minus 15 otherwise (negative n walks the same slots backwards).
// kNoDate (0) when the result falls outside the years 1601 to 30827.
Date addPeriods(int32_t frequency, Date date, int64_t n, int32_t interval);

// The frequency's name from the resources ("Monthly"); empty for a code outside 0..12.
std::u16string frequencyName(int32_t frequency);

// The names of the two ways of limiting an item: "Ongoing entry" and "Number of entries".
std::u16string ongoingEntryName();
std::u16string numberOfEntriesName();

}  // namespace dove
