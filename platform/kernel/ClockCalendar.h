// Calendar arithmetic on the file-time scale (100-ns units since 1601-01-01, proleptic Gregorian),
// shared by the clock and the SYSTEMTIME conversions.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/wintypes.h"

namespace platform::calendar {

constexpr uint64_t kUnitsPerMillisecond = 10'000;
constexpr uint64_t kUnitsPerSecond = 10'000'000;
constexpr uint64_t kUnitsPerDay = 864'000'000'000;
constexpr int kMinYear = 1601;
constexpr int kMaxYear = 30827;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// File-time units of valid calendar fields; nothing when a field is out of range.
std::optional<uint64_t> unitsFromFields(const SYSTEMTIME& fields);
// Calendar fields of a file-time value, day of week computed; nothing beyond the last valid year.
std::optional<SYSTEMTIME> fieldsFromUnits(uint64_t units);

}  // namespace platform::calendar
