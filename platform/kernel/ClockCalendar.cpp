// Proleptic Gregorian calendar on the file-time scale and the SYSTEMTIME <-> FILETIME conversions.
#include "ClockCalendar.h"

#include "platform/clock.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform::calendar {
namespace {

// Days from the era origin 0000-03-01 to 1601-01-01.
constexpr int64_t kEraOriginTo1601 = 584'694;

// Days from 1601-01-01 (day 0, a Monday) to the given date; the civil-from-days method on 400-year eras.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = year / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + static_cast<int64_t>(dayOfEra) - kEraOriginTo1601;
}

void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
    days += kEraOriginTo1601;
    const int64_t era = days / 146'097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<uint64_t> unitsFromFields(const SYSTEMTIME& f) {
    if (f.wYear < kMinYear || f.wYear > kMaxYear || f.wMonth < 1 || f.wMonth > 12 || f.wDay < 1 ||
        f.wDay > daysInMonth(f.wYear, f.wMonth) || f.wHour > 23 || f.wMinute > 59 || f.wSecond > 59 ||
        f.wMilliseconds > 999) {
        return std::nullopt;
    }
    const auto days = static_cast<uint64_t>(daysFromCivil(f.wYear, f.wMonth, f.wDay));
    const uint64_t seconds = f.wHour * 3600ull + f.wMinute * 60ull + f.wSecond;
    return days * kUnitsPerDay + seconds * kUnitsPerSecond + f.wMilliseconds * kUnitsPerMillisecond;
}

std::optional<SYSTEMTIME> fieldsFromUnits(uint64_t units) {
    const uint64_t days = units / kUnitsPerDay;
    uint64_t rest = units % kUnitsPerDay;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    civilFromDays(static_cast<int64_t>(days), year, month, day);
    if (year > kMaxYear) return std::nullopt;
    SYSTEMTIME f{};
    f.wYear = static_cast<WORD>(year);
    f.wMonth = static_cast<WORD>(month);
    f.wDay = static_cast<WORD>(day);
    f.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
    f.wHour = static_cast<WORD>(rest / (3600 * kUnitsPerSecond));
    rest %= 3600 * kUnitsPerSecond;
    f.wMinute = static_cast<WORD>(rest / (60 * kUnitsPerSecond));
    rest %= 60 * kUnitsPerSecond;
    f.wSecond = static_cast<WORD>(rest / kUnitsPerSecond);
    f.wMilliseconds = static_cast<WORD>(rest % kUnitsPerSecond / kUnitsPerMillisecond);
    return f;
}

}  // namespace platform::calendar

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    std::optional<uint64_t> units;
    if (systemTime != nullptr && fileTime != nullptr)
        units = platform::calendar::unitsFromFields(*systemTime);
    if (!units) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    fileTime->dwLowDateTime = static_cast<DWORD>(*units);
    fileTime->dwHighDateTime = static_cast<DWORD>(*units >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    std::optional<SYSTEMTIME> fields;
    if (fileTime != nullptr && systemTime != nullptr) {
        fields = platform::calendar::fieldsFromUnits((uint64_t{fileTime->dwHighDateTime} << 32) |
                                                     fileTime->dwLowDateTime);
    }
    if (!fields) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *systemTime = *fields;
    return TRUE;
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second) {
    const uint64_t a = (uint64_t{first->dwHighDateTime} << 32) | first->dwLowDateTime;
    const uint64_t b = (uint64_t{second->dwHighDateTime} << 32) | second->dwLowDateTime;
    return a < b ? -1 : (a > b ? 1 : 0);
}
