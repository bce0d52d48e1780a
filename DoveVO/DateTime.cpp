// Date conversions, comparisons, the short date text and the date object.
#include "DateTime.h"

#include <cstdlib>

#include "RegionalSettings.h"
#include "platform/windows.h"

namespace dove {
namespace {

Date fromFileTime(const FILETIME& ft) {
    return (static_cast<Date>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::u16string twoDigits(unsigned value) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (text.size() < 2) text.insert(text.begin(), u'0');
    return text;
}

}  // namespace

SYSTEMTIME dateFields(Date date) {
    FILETIME ft{static_cast<DWORD>(date), static_cast<DWORD>(date >> 32)};
    SYSTEMTIME st{};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

Date dateFromFields(const SYSTEMTIME& fields) {
    FILETIME ft{};
    if (!SystemTimeToFileTime(&fields, &ft)) return 0;
    return fromFileTime(ft);
}

Date nowLocal() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return dateFromFields(st);
}

Date nowUtc() {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return dateFromFields(st);
}

int compareDates(Date a, Date b, int precision) {
    SYSTEMTIME x = dateFields(a), y = dateFields(b);
    const int left[] = {x.wYear, x.wMonth, x.wDay};
    const int right[] = {y.wYear, y.wMonth, y.wDay};
    for (int i = 0; i <= precision && i < 3; ++i) {
        if (left[i] != right[i]) return left[i] > right[i] ? 1 : -1;
    }
    return 0;
}

std::u16string shortDateText(Date date) {
    SYSTEMTIME st = dateFields(date);
    unsigned year = st.wYear >= 2000 ? st.wYear - 2000u : st.wYear >= 1901 ? st.wYear - 1900u : st.wYear;
    const RegionalSettings& rs = regionalSettings();
    std::u16string y = twoDigits(year), m = twoDigits(st.wMonth), d = twoDigits(st.wDay);
    const std::u16string* order[3][3] = {{&m, &d, &y}, {&d, &m, &y}, {&y, &m, &d}};
    int o = rs.dateOrder >= 0 && rs.dateOrder <= 2 ? rs.dateOrder : 0;
    return *order[o][0] + rs.dateSeparator + *order[o][1] + rs.dateSeparator + *order[o][2];
}

TimeSpan::TimeSpan(int64_t days, int64_t hours, int64_t minutes, int64_t seconds)
    : m_seconds(static_cast<uint64_t>(std::llabs(days)) * 86'400 +
                static_cast<uint64_t>(std::llabs(hours)) * 3'600 +
                static_cast<uint64_t>(std::llabs(minutes)) * 60 +
                static_cast<uint64_t>(std::llabs(seconds))) {}

TimeSpan TimeSpan::fromSeconds(uint64_t seconds) {
    TimeSpan span;
    span.m_seconds = seconds;
    return span;
}

DateTime::DateTime() : m_date(nowLocal()) {}

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    m_date = dateFromFields(st);
}

DateTime::DateTime(const SYSTEMTIME& fields) : m_date(dateFromFields(fields)) {}

TimeSpan DateTime::operator-(const DateTime& other) const {
    Date difference = m_date > other.m_date ? m_date - other.m_date : other.m_date - m_date;
    return TimeSpan::fromSeconds(difference / kDateSecond);
}

bool DateTime::operator==(const DateTime& other) const {
    SYSTEMTIME a = fields(), b = other.fields();
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

}  // namespace dove
