// FILETIME <-> SYSTEMTIME conversions on the 1601 scale: round trips, leap years, limits, bad fields.
#include <gtest/gtest.h>

#include "platform/windows.h"

namespace {

uint64_t unitsOf(const FILETIME& ft) {
    return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

FILETIME fileTimeOf(uint64_t units) {
    return {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

SYSTEMTIME makeTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                    WORD ms = 0) {
    SYSTEMTIME t{};
    t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
    t.wMilliseconds = ms;
    return t;
}

constexpr uint64_t kDay = 864'000'000'000ull;

struct KnownDate {
    SYSTEMTIME time;
    uint64_t units;
    WORD dayOfWeek;
};

TEST(ClockCalendar, KnownDatesConvertBothWays) {
    const KnownDate known[] = {
        {makeTime(1601, 1, 1), 0, 1},                                        // the origin, a Monday
        {makeTime(1601, 1, 2, 0, 0, 0, 1), kDay + 10'000, 2},                // one day and a millisecond
        {makeTime(1970, 1, 1), 116'444'736'000'000'000ull, 4},               // the Unix epoch, a Thursday
        {makeTime(2000, 2, 29, 12, 30, 15), 125'963'010'150'000'000ull, 2},  // leap day of a 400-year
        {makeTime(2010, 3, 5, 14, 8, 9), 129'122'716'890'000'000ull, 5},
    };
    for (const KnownDate& k : known) {
        FILETIME ft{};
        ASSERT_TRUE(SystemTimeToFileTime(&k.time, &ft)) << k.time.wYear;
        EXPECT_EQ(unitsOf(ft), k.units) << k.time.wYear;
        SYSTEMTIME back{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        EXPECT_EQ(back.wYear, k.time.wYear);
        EXPECT_EQ(back.wMonth, k.time.wMonth);
        EXPECT_EQ(back.wDay, k.time.wDay);
        EXPECT_EQ(back.wHour, k.time.wHour);
        EXPECT_EQ(back.wMinute, k.time.wMinute);
        EXPECT_EQ(back.wSecond, k.time.wSecond);
        EXPECT_EQ(back.wMilliseconds, k.time.wMilliseconds);
        EXPECT_EQ(back.wDayOfWeek, k.dayOfWeek) << k.time.wYear;
    }
}

TEST(ClockCalendar, LeapYearRules) {
    FILETIME ft{};
    SYSTEMTIME day = makeTime(1900, 2, 29);
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&day, &ft));  // 1900 is not a leap year
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    day = makeTime(2000, 2, 29);
    EXPECT_TRUE(SystemTimeToFileTime(&day, &ft));
    day = makeTime(2004, 2, 29);
    EXPECT_TRUE(SystemTimeToFileTime(&day, &ft));
    // The day after 2000-02-28 is the 29th, after 1900-02-28 the 1st of March.
    day = makeTime(1900, 2, 28);
    ASSERT_TRUE(SystemTimeToFileTime(&day, &ft));
    FILETIME next = fileTimeOf(unitsOf(ft) + kDay);
    SYSTEMTIME split{};
    ASSERT_TRUE(FileTimeToSystemTime(&next, &split));
    EXPECT_EQ(split.wMonth, 3);
    EXPECT_EQ(split.wDay, 1);
}

TEST(ClockCalendar, EveryDayOfAFourHundredYearCycleRoundTrips) {
    SYSTEMTIME start = makeTime(1601, 1, 1);
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&start, &ft));
    WORD previousDay = 0, expectedWeekday = 1;
    for (uint64_t d = 0; d < 146'097; ++d) {
        FILETIME at = fileTimeOf(d * kDay + 3'600'000'000ull);
        SYSTEMTIME split{};
        ASSERT_TRUE(FileTimeToSystemTime(&at, &split));
        ASSERT_NE(split.wDay, previousDay);
        ASSERT_EQ(split.wDayOfWeek, expectedWeekday);
        FILETIME again{};
        ASSERT_TRUE(SystemTimeToFileTime(&split, &again));
        ASSERT_EQ(unitsOf(again), unitsOf(at));
        previousDay = split.wDay;
        expectedWeekday = static_cast<WORD>((expectedWeekday + 1) % 7);
    }
}

TEST(ClockCalendar, LastValidTimeAndBeyond) {
    SYSTEMTIME last = makeTime(30827, 12, 31, 23, 59, 59, 999);
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&last, &ft));
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(back.wYear, 30827);
    EXPECT_EQ(back.wMilliseconds, 999);
    FILETIME beyond = fileTimeOf(unitsOf(ft) + 10'000);
    EXPECT_FALSE(FileTimeToSystemTime(&beyond, &back));
    FILETIME top = fileTimeOf(UINT64_MAX);
    EXPECT_FALSE(FileTimeToSystemTime(&top, &back));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ClockCalendar, InvalidFieldsAreRejectedAndLeaveTheOutputAlone) {
    const SYSTEMTIME bad[] = {makeTime(1600, 12, 31),         makeTime(30828, 1, 1),
                              makeTime(2010, 0, 1),           makeTime(2010, 13, 1),
                              makeTime(2010, 4, 31),          makeTime(2010, 1, 0),
                              makeTime(2010, 1, 1, 24),       makeTime(2010, 1, 1, 0, 60),
                              makeTime(2010, 1, 1, 0, 0, 60), makeTime(2010, 1, 1, 0, 0, 0, 1000)};
    for (const SYSTEMTIME& t : bad) {
        FILETIME ft{123, 456};
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&t, &ft)) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(ft.dwLowDateTime, 123u);
        EXPECT_EQ(ft.dwHighDateTime, 456u);
    }
    FILETIME ft{};
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, &ft));
    EXPECT_FALSE(FileTimeToSystemTime(&ft, nullptr));
}

TEST(ClockCalendar, CompareFileTimeOrdersByTheWholeValue) {
    const FILETIME low = fileTimeOf(0xFFFFFFFFull), high = fileTimeOf(0x100000000ull);
    EXPECT_EQ(CompareFileTime(&low, &high), -1);
    EXPECT_EQ(CompareFileTime(&high, &low), 1);
    EXPECT_EQ(CompareFileTime(&high, &high), 0);
}

}  // namespace
