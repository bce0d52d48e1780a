// The frequencies' date arithmetic on calendar fields, and their names.
#include "Frequencies.h"

#include "CivilCalendar.h"
#include "ResourceText.h"

namespace dove {
namespace {

using calendar::CivilDay;

constexpr unsigned kFirstFrequencyNameId = 1130;
constexpr unsigned kOngoingEntryNameId = 1143;
constexpr unsigned kNumberOfEntriesNameId = 1144;

// The largest step any code takes is a year; beyond this many periods every result is out of range.
constexpr int64_t kPeriodLimit = int64_t{1} << 40;

int64_t floorDivide(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The day wanted in the target month, stepped down one at a time until the month has it.
int lowerIntoMonth(int year, int month, int wanted) {
    int day = wanted;
    while (day > 28 && day > calendar::daysInMonth(year, month))
        --day;
    return day;
}

Date fromDay(int64_t number, Date date) {
    return calendar::joinDate(number, calendar::timeOfDay(date));
}

// n steps of a whole number of days; kNoDate when the count leaves every representable day.
Date addDays(int64_t day, int64_t n, int64_t daysPerStep, Date date) {
    int64_t days = 0, target = 0;
    if (__builtin_mul_overflow(n, daysPerStep, &days) || __builtin_add_overflow(day, days, &target))
        return calendar::kNoDate;
    return fromDay(target, date);
}

Date fromCalendar(int64_t year, int month, int day, Date date) {
    if (year < calendar::kFirstYear || year > calendar::kLastYear) return calendar::kNoDate;
    const int y = static_cast<int>(year);
    return fromDay(calendar::dayNumber(y, month, lowerIntoMonth(y, month, day)), date);
}

// t months after the day's month. The month index counts months from year 0, so that any offset (also
// far below -11) lands on the right month and year.
Date addMonths(const CivilDay& d, int64_t t, bool lastDay, Date date) {
    const int64_t index = static_cast<int64_t>(d.year) * 12 + (d.month - 1) + t;
    const int64_t year = floorDivide(index, 12);
    const int month = static_cast<int>(index - year * 12) + 1;
    if (year < calendar::kFirstYear || year > calendar::kLastYear) return calendar::kNoDate;
    const int day = lastDay ? calendar::daysInMonth(static_cast<int>(year), month) : d.day;
    return fromCalendar(year, month, day, date);
}

// Half months: slot 0 is day d0, slot 1 day d0 + 15 of each month.
Date addHalfMonths(const CivilDay& d, int64_t n, Date date) {
    const int d0 = d.day <= 15 ? d.day : d.day - 15;
    const int64_t halves = d.day <= 15 ? n : n + 1;
    const int64_t months = floorDivide(halves, 2);
    const int slot = static_cast<int>(halves - months * 2);
    CivilDay first = d;
    first.day = d0 + 15 * slot;
    return addMonths(first, months, false, date);
}

}  // namespace

Date addPeriods(int32_t frequency, Date date, int64_t n, int32_t interval) {
    if (n > kPeriodLimit || n < -kPeriodLimit) return calendar::kNoDate;
    const int64_t day = calendar::dayOf(date);
    const CivilDay d = calendar::civilDay(day);
    switch (frequency) {
        case kWeekly:
            return addDays(day, n, 7, date);
        case kEveryTwoWeeks:
            return addDays(day, n, 14, date);
        case kEveryFourWeeks:
            return addDays(day, n, 28, date);
        case kEveryDay:
            return addDays(day, n, 1, date);
        case kEveryNDays:
            return addDays(day, n, interval, date);
        case kMonthly:
            return addMonths(d, n, false, date);
        case kEveryTwoMonths:
            return addMonths(d, n * 2, false, date);
        case kQuarterly:
            return addMonths(d, n * 3, false, date);
        case kTwiceAYear:
            return addMonths(d, n * 6, false, date);
        case kLastDayOfMonth:
            return addMonths(d, n, true, date);
        case kAnnually:
            return fromCalendar(d.year + n, d.month, d.day, date);
        case kTwiceAMonth:
            return addHalfMonths(d, n, date);
        default:  // kOnlyOnce, and codes this system does not know: the date does not move
            return date;
    }
}

std::u16string frequencyName(int32_t frequency) {
    if (frequency < 0 || frequency >= kFrequencyCount) return {};
    return resourceString(kFirstFrequencyNameId + static_cast<unsigned>(frequency));
}

std::u16string ongoingEntryName() {
    return resourceString(kOngoingEntryNameId);
}

std::u16string numberOfEntriesName() {
    return resourceString(kNumberOfEntriesNameId);
}

}  // namespace dove
