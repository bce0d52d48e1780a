// The frequencies' date arithmetic: the documented cases as a table, and every code against a reference
// calendar (std::chrono) over random dates from 1970 to 2050 and random period counts.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "Frequencies.h"
#include "ResourceText.h"
#include "StoreFixture.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace dove {
namespace {

using namespace std::chrono;
using testing::dateOf;

// Dates of the store through the reference calendar: whole days since 1 January 1601 and a time of day.
constexpr sys_days kStoreEpoch = sys_days{year{1601} / January / 1};

year_month_day referenceDay(Date date) {
    return year_month_day{kStoreEpoch + days{static_cast<int64_t>(date / kDateDay)}};
}

std::string text(year_month_day d) {
    return std::to_string(static_cast<int>(d.year())) + "-" +
           std::to_string(static_cast<unsigned>(d.month())) + "-" +
           std::to_string(static_cast<unsigned>(d.day()));
}

struct Case {
    int32_t frequency;
    Date from;
    int64_t n;
    int32_t interval;
    Date expected;
};

TEST(FrequenciesTest, DocumentedCases) {
    const Date march10 = dateOf(2010, 3, 10, 9, 30);
    const Date march20 = dateOf(2010, 3, 20);
    const Case cases[] = {
        {kMonthly, dateOf(2010, 1, 31), 1, 0, dateOf(2010, 2, 28)},
        // Each occurrence from the first date, not from the one before.
        {kMonthly, dateOf(2010, 1, 31), 2, 0, dateOf(2010, 3, 31)},
        {kMonthly, dateOf(2012, 1, 31), 1, 0, dateOf(2012, 2, 29)},
        {kLastDayOfMonth, dateOf(2010, 2, 15), 0, 0, dateOf(2010, 2, 28)},
        {kLastDayOfMonth, dateOf(2010, 1, 10), 3, 0, dateOf(2010, 4, 30)},
        {kAnnually, dateOf(2008, 2, 29), 1, 0, dateOf(2009, 2, 28)},
        {kAnnually, dateOf(2008, 2, 29), 4, 0, dateOf(2012, 2, 29)},
        {kTwiceAMonth, dateOf(2010, 3, 31), 1, 0, dateOf(2010, 4, 16)},
        {kTwiceAMonth, march10, 1, 0, dateOf(2010, 3, 25, 9, 30)},
        {kTwiceAMonth, march10, 2, 0, dateOf(2010, 4, 10, 9, 30)},
        {kTwiceAMonth, march10, 3, 0, dateOf(2010, 4, 25, 9, 30)},
        {kTwiceAMonth, march20, 1, 0, dateOf(2010, 4, 5)},
        {kTwiceAMonth, march20, 2, 0, dateOf(2010, 4, 20)},
        {kTwiceAMonth, march20, 3, 0, dateOf(2010, 5, 5)},
        {kTwiceAMonth, dateOf(2010, 1, 30), 2, 0, dateOf(2010, 2, 28)},  // slot 30 lowered in February
        {kWeekly, march10, -1, 0, march10 - 7 * kDateDay},
        {kEveryTwoWeeks, march10, 2, 0, dateOf(2010, 4, 7, 9, 30)},
        {kEveryFourWeeks, march10, 1, 0, dateOf(2010, 4, 7, 9, 30)},
        {kEveryDay, march10, 22, 0, dateOf(2010, 4, 1, 9, 30)},
        {kEveryNDays, march10, 3, 30, dateOf(2010, 6, 8, 9, 30)},
        {kQuarterly, dateOf(2010, 11, 30), 1, 0, dateOf(2011, 2, 28)},
        {kTwiceAYear, dateOf(2010, 8, 31), 1, 0, dateOf(2011, 2, 28)},
        {kEveryTwoMonths, dateOf(2010, 12, 31), 1, 0, dateOf(2011, 2, 28)},
        {kOnlyOnce, march10, 7, 0, march10},
        {99, march10, 7, 0, march10},  // an unknown code does not move the date
        // Below eleven months back the months still land right.
        {kMonthly, dateOf(2010, 1, 15), -13, 0, dateOf(2008, 12, 15)},
        {kMonthly, dateOf(2010, 3, 31), -25, 0, dateOf(2008, 2, 29)},
        {kMonthly, dateOf(2010, 3, 31), -1, 0, dateOf(2010, 2, 28)},
        // Out of the calendar's years: no date.
        {kAnnually, dateOf(2010, 1, 1), 30000, 0, 0},
        {kEveryNDays, march10, int64_t{1} << 40, 1 << 30, 0},
        {kMonthly, dateOf(1601, 1, 15), -1, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addPeriods(c.frequency, c.from, c.n, c.interval), c.expected)
            << "code " << c.frequency << " n " << c.n << " from day " << c.from / kDateDay;
}

// The reference: each code's meaning written with the calendar types of the standard library.
int64_t floorDivide(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

year_month_day lowered(year_month ym, day d) {
    const day last = year_month_day_last{ym.year(), month_day_last{ym.month()}}.day();
    return year_month_day{ym.year(), ym.month(), d > last ? last : d};
}

// The slots of all months as one sequence, two a month, the later one 15 days after the earlier.
year_month_day halfMonthsAfter(year_month_day from, int64_t n) {
    const unsigned d = static_cast<unsigned>(from.day());
    const int64_t firstMonth =
        static_cast<int64_t>(static_cast<int>(from.year())) * 12 + static_cast<unsigned>(from.month()) - 1;
    const int64_t slot = firstMonth * 2 + (d <= 15 ? 0 : 1) + n;
    const int64_t monthIndex = floorDivide(slot, 2);
    const int64_t y = floorDivide(monthIndex, 12);
    const year_month target{year{static_cast<int>(y)}, month{static_cast<unsigned>(monthIndex - y * 12 + 1)}};
    const unsigned earlierDay = d <= 15 ? d : d - 15;
    return lowered(target, day{earlierDay + 15 * static_cast<unsigned>(slot - monthIndex * 2)});
}

year_month_day referenceAdd(int32_t code, year_month_day from, int64_t n, int32_t interval) {
    const year_month ym{from.year(), from.month()};
    const int64_t daysPerPeriod[kFrequencyCount] = {0, 7, 14, 0, 28, 0, 0, 0, 0, 0, 0, 1, interval};
    const int monthsPerPeriod[kFrequencyCount] = {0, 0, 0, 0, 0, 1, 0, 2, 3, 6, 0, 0, 0};
    if (code < 0 || code >= kFrequencyCount || code == kOnlyOnce) return from;
    if (daysPerPeriod[code] != 0) return year_month_day{sys_days{from} + days{n * daysPerPeriod[code]}};
    if (monthsPerPeriod[code] != 0) return lowered(ym + months{n * monthsPerPeriod[code]}, from.day());
    if (code == kLastDayOfMonth) {
        const year_month target = ym + months{n};
        return year_month_day{year_month_day_last{target.year(), month_day_last{target.month()}}};
    }
    if (code == kAnnually) return lowered(year_month{from.year() + years{n}, from.month()}, from.day());
    return halfMonthsAfter(from, n);
}

TEST(FrequenciesTest, EveryCodeMatchesTheReferenceCalendarFrom1970To2050) {
    std::mt19937 random(20100305);
    const int64_t firstDay = (sys_days{year{1970} / January / 1} - kStoreEpoch).count();
    const int64_t lastDay = (sys_days{year{2050} / December / 31} - kStoreEpoch).count();
    std::uniform_int_distribution<int64_t> dayOf(firstDay, lastDay);
    std::uniform_int_distribution<int64_t> periods(0, 400);
    std::uniform_int_distribution<int32_t> intervals(1, 90);
    std::uniform_int_distribution<Date> timeOfDay(0, kDateDay - 1);
    for (int32_t code = 0; code < kFrequencyCount; ++code) {
        for (int i = 0; i < 4000; ++i) {
            const Date time = timeOfDay(random);
            const Date from = static_cast<Date>(dayOf(random)) * kDateDay + time;
            // Every code also walks backwards; the last fifth of the cases use negative counts.
            const int64_t n = i % 5 == 4 ? -periods(random) : periods(random);
            const int32_t interval = intervals(random);
            const Date result = addPeriods(code, from, n, interval);
            const year_month_day expected = referenceAdd(code, referenceDay(from), n, interval);
            ASSERT_TRUE(expected.ok());
            if (expected.year() < year{1601}) {
                // Before the store's calendar (years back from 1970): no date.
                ASSERT_EQ(result, 0u) << "code " << code << " n " << n;
                continue;
            }
            ASSERT_NE(result, 0u) << "code " << code << " n " << n;
            const year_month_day got = referenceDay(result);
            ASSERT_TRUE(got.ok());
            ASSERT_TRUE(got == expected) << "code " << code << " from " << text(referenceDay(from)) << " n "
                                         << n << ": " << text(got) << ", expected " << text(expected);
            ASSERT_EQ(result % kDateDay, time) << "the time of day is kept";
        }
    }
}

TEST(FrequenciesTest, NamesComeFromTheResources) {
    platform::registerModuleResources(resourceModule(), dashelResourceTable());
    EXPECT_EQ(frequencyName(kOnlyOnce), u"Only once");
    EXPECT_EQ(frequencyName(kTwiceAMonth), u"Twice a month");
    EXPECT_EQ(frequencyName(kEveryNDays), u"Every n Days");
    EXPECT_EQ(frequencyName(kFrequencyCount), u"");
    EXPECT_EQ(frequencyName(-1), u"");
    EXPECT_EQ(ongoingEntryName(), u"Ongoing entry");
    EXPECT_EQ(numberOfEntriesName(), u"Number of entries");
}

}  // namespace
}  // namespace dove
