// Day numbers and calendar days: the days-from-civil count on a year that starts in March, so that the
// leap day is the last day of its year and every month's start follows from one formula.
#include "CivilCalendar.h"

namespace dove::calendar {
namespace {

// Days from 1 March of year 0 to 1 January 1601.
constexpr int64_t kEpochShift = 584'694;
constexpr int64_t kDaysPer400Years = 146'097;

int64_t floorDivide(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

int64_t dayNumber(int year, int month, int day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = floorDivide(y, 400);
    const int64_t yearOfEra = y - era * 400;
    const int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;  // March is 0
    const int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPer400Years + dayOfEra - kEpochShift;
}

CivilDay civilDay(int64_t number) {
    const int64_t z = number + kEpochShift;
    const int64_t era = floorDivide(z, kDaysPer400Years);
    const int64_t dayOfEra = z - era * kDaysPer400Years;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CivilDay d;
    d.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    d.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    d.year = static_cast<int>(yearOfEra + era * 400 + (d.month <= 2 ? 1 : 0));
    return d;
}

int weekdayFromMonday(int64_t number) {
    // Day 0, 1 January 1601, was a Monday.
    const int64_t weekday = number % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

Date joinDate(int64_t number, Date time) {
    static const int64_t kFirstDay = dayNumber(kFirstYear, 1, 1);
    static const int64_t kLastDay = dayNumber(kLastYear, 12, 31);
    if (number < kFirstDay || number > kLastDay) return kNoDate;
    return static_cast<Date>(number) * kDateDay + time % kDateDay;
}

}  // namespace dove::calendar
