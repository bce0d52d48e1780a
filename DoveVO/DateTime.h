// Dates: unsigned 64-bit counts of 100-nanosecond intervals since 1 January 1601 holding local wall-clock
// time, their calendar split, comparisons by calendar precision, the short date text and the date object.
#pragma once

#include <cstdint>
#include <string>

#include "platform/wintypes.h"

namespace dove {

using Date = uint64_t;
constexpr Date kDateSecond = 10'000'000;
constexpr Date kDateMillisecond = 10'000;
constexpr Date kDateDay = 864'000'000'000;
// The last moment a record may carry, the end of 31 December 9999: every identifier made from a date
// keeps a four-digit year. (3,067,671 days lie between 1 January 1601 and 1 January 10000.)
constexpr Date kLastDate = 3'067'671 * kDateDay - 1;

// The current local time and the current UTC time (modification stamps) on the date scale.
Date nowLocal();
Date nowUtc();

// Calendar split and build without any time-zone step. dateFromFields yields 0 for invalid fields.
SYSTEMTIME dateFields(Date date);
Date dateFromFields(const SYSTEMTIME& fields);

enum DatePrecision { kCompareYears = 0, kCompareMonths = 1, kCompareDays = 2 };
// 1 when a is later, -1 when earlier, 0 when equal at the precision; times of day never count.
int compareDates(Date a, Date b, int precision);

// Three two-digit fields in the regional date order joined by the date separator: 5 March 2010 in order 0
// with "/" is 03/05/10. Years before 1901 keep all their digits (01/01/1900).
std::u16string shortDateText(Date date);

// A non-negative count of seconds; each part is taken as its absolute value.
class TimeSpan {
  public:
    TimeSpan() = default;
    TimeSpan(int64_t days, int64_t hours, int64_t minutes, int64_t seconds);
    static TimeSpan fromSeconds(uint64_t seconds);
    uint64_t seconds() const { return m_seconds; }
    uint64_t days() const { return m_seconds / 86'400; }

  private:
    uint64_t m_seconds = 0;
};

// A small value class around the date, compared to the second (milliseconds ignored).
class DateTime {
  public:
    DateTime();  // now, local
    DateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    explicit DateTime(const SYSTEMTIME& fields);
    explicit DateTime(Date date) : m_date(date) {}

    Date value() const { return m_date; }
    int year() const { return fields().wYear; }
    int month() const { return fields().wMonth; }
    int day() const { return fields().wDay; }
    int hour() const { return fields().wHour; }
    int minute() const { return fields().wMinute; }
    int second() const { return fields().wSecond; }
    int dayOfWeek() const { return fields().wDayOfWeek; }  // 0 = Sunday

    void addSeconds(uint64_t n) { m_date += n * kDateSecond; }
    void subtractSeconds(uint64_t n) { m_date -= n * kDateSecond; }
    DateTime& operator+=(const TimeSpan& span) { return addSeconds(span.seconds()), *this; }
    DateTime& operator-=(const TimeSpan& span) { return subtractSeconds(span.seconds()), *this; }
    // The absolute difference in whole seconds.
    TimeSpan operator-(const DateTime& other) const;

    bool operator==(const DateTime& other) const;
    bool operator!=(const DateTime& other) const { return !(*this == other); }

  private:
    SYSTEMTIME fields() const { return dateFields(m_date); }
    Date m_date = 0;
};

}  // namespace dove
