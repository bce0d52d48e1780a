// Dates: calendar comparisons, the short date text, the date object and time spans.
#include <gtest/gtest.h>

#include "DateTime.h"
#include "RegionalSettings.h"

namespace dove {
namespace {

Date at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y), st.wMonth = static_cast<WORD>(mo), st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h), st.wMinute = static_cast<WORD>(mi), st.wSecond = static_cast<WORD>(s);
    st.wMilliseconds = static_cast<WORD>(ms);
    return dateFromFields(st);
}

TEST(Dates, CompareByPrecisionIgnoresTimeOfDay) {
    EXPECT_EQ(compareDates(at(2009, 12, 31), at(2010, 1, 1), kCompareYears), -1);
    EXPECT_EQ(compareDates(at(2010, 3, 5), at(2010, 3, 20), kCompareMonths), 0);
    EXPECT_EQ(compareDates(at(2010, 3, 20), at(2010, 3, 5), kCompareDays), 1);
    EXPECT_EQ(compareDates(at(2010, 3, 5, 23, 59), at(2010, 3, 5, 0, 1), kCompareDays), 0);
}

TEST(Dates, ScaleUnits) {
    EXPECT_EQ(at(2010, 3, 6) - at(2010, 3, 5), kDateDay);
    EXPECT_EQ(at(2010, 3, 5, 0, 0, 1) - at(2010, 3, 5), kDateSecond);
    EXPECT_EQ(at(1601, 1, 1), 0u);
}

TEST(Dates, ShortDateTextFollowsOrderAndSeparator) {
    RegionalSettings s;
    setRegionalSettings(s);
    EXPECT_EQ(shortDateText(at(2010, 3, 5)), u"03/05/10");
    EXPECT_EQ(shortDateText(at(1900, 1, 1)), u"01/01/1900");
    s.dateOrder = 1;
    s.dateSeparator = u'.';
    setRegionalSettings(s);
    EXPECT_EQ(shortDateText(at(1999, 7, 4)), u"04.07.99");
    s.dateOrder = 2;
    s.dateSeparator = u'-';
    setRegionalSettings(s);
    EXPECT_EQ(shortDateText(at(2010, 3, 5)), u"10-03-05");
    setRegionalSettings(RegionalSettings{});
}

TEST(DateObject, EqualityIgnoresMilliseconds) {
    EXPECT_EQ(DateTime(at(2010, 3, 5, 12)), DateTime(at(2010, 3, 5, 12, 0, 0, 999)));
    EXPECT_NE(DateTime(at(2010, 3, 5, 12)), DateTime(at(2010, 3, 5, 12, 0, 1)));
    DateTime d(2012, 2, 28, 23, 59, 59);
    EXPECT_EQ(d.dayOfWeek(), 2);  // a Tuesday
    d.addSeconds(1);
    EXPECT_EQ(d.month(), 2);
    EXPECT_EQ(d.day(), 29);
    d += TimeSpan(-1, 0, 0, 0);  // parts count as absolute values: one day forward
    EXPECT_EQ(d, DateTime(2012, 3, 1));
    d -= TimeSpan(0, 25, 0, 0);
    EXPECT_EQ(d, DateTime(2012, 2, 28, 23));
}

TEST(DateObject, DifferenceIsAbsoluteWholeSeconds) {
    DateTime a(at(2010, 1, 1, 0, 0, 0, 0)), b(at(2010, 1, 3, 12, 0, 0, 900));
    EXPECT_EQ((b - a).seconds(), 2u * 86400 + 12 * 3600);
    EXPECT_EQ((a - b).days(), 2u);
}

}  // namespace
}  // namespace dove
