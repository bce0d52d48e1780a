// Week numbers from the day on which week 1 starts.
#include "WeekNumbering.h"

#include "CivilCalendar.h"

namespace dove {
namespace {

// The day number on which week 1 of the year starts.
int64_t weekOneStart(int year, int firstDay, int rule) {
    const int64_t january1 = calendar::dayNumber(year, 1, 1);
    // Days from the start of the week that holds 1 January up to 1 January.
    const int back = (calendar::weekdayFromMonday(january1) - firstDay + 7) % 7;
    const int64_t weekStart = january1 - back;
    switch (rule) {
        case kFirstFullWeek:
            return back == 0 ? weekStart : weekStart + 7;
        case kFirstFourDayWeek:
            return 7 - back >= 4 ? weekStart : weekStart + 7;
        default:
            return weekStart;
    }
}

int64_t floorDivide(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

int weekOfYear(Date date, int firstDayOfWeek, int rule) {
    const int firstDay = firstDayOfWeek >= 0 && firstDayOfWeek <= 6 ? firstDayOfWeek : 0;
    const int firstWeek = rule >= 0 && rule <= 2 ? rule : kWeekContainingJanuaryFirst;
    const int64_t day = calendar::dayOf(date);
    const int year = calendar::civilDay(day).year;
    int64_t start = weekOneStart(year, firstDay, firstWeek);
    if (day < start) start = weekOneStart(year - 1, firstDay, firstWeek);
    return static_cast<int>(floorDivide(day - start, 7)) + 1;
}

}  // namespace dove
