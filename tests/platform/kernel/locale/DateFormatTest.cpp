// GetDateFormatW and GetTimeFormatW: pictures, month name forms, flags and buffer sizes.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/handles.h"
#include "platform/winerror.h"
#include "platform/winnls.h"

namespace {

class DateFormat : public ::testing::Test {
  protected:
    void TearDown() override { platform::setUserLocale(""); }

    static std::u16string date(const SYSTEMTIME& when, const char16_t* picture, DWORD flags = 0) {
        WCHAR buffer[128];
        int written = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &when, picture, buffer, 128);
        return written == 0 ? u"<failed>" : std::u16string(buffer);
    }
    static std::u16string time(const SYSTEMTIME& when, const char16_t* picture, DWORD flags = 0) {
        WCHAR buffer[128];
        int written = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &when, picture, buffer, 128);
        return written == 0 ? u"<failed>" : std::u16string(buffer);
    }
};

// Friday 5 March 2010, 14:08:09; the day of week given is wrong on purpose.
constexpr SYSTEMTIME kMarch5{2010, 3, 0, 5, 14, 8, 9, 0};

TEST_F(DateFormat, PicturesTheSystemUses) {
    ASSERT_TRUE(platform::setUserLocale("C"));
    EXPECT_EQ(u"2010.03.05 ", date(kMarch5, u"yyyy.MM.dd "));
    EXPECT_EQ(u"14:08:09 - ", time(kMarch5, u"HH:mm:ss - "));
    EXPECT_EQ(u"2010", date(kMarch5, u"yyyy"));
    EXPECT_EQ(u"March", date(kMarch5, u"MMMM"));
    EXPECT_EQ(u"Mar", date(kMarch5, u"MMM"));
    EXPECT_EQ(u"03/05/2010", date(kMarch5, nullptr, DATE_SHORTDATE));
}

TEST_F(DateFormat, EveryDateField) {
    ASSERT_TRUE(platform::setUserLocale("en_US.UTF-8"));
    SYSTEMTIME early{2009, 1, 0, 7, 0, 0, 0, 0};
    EXPECT_EQ(u"7 07 Wed Wednesday", date(early, u"d dd ddd dddd"));
    EXPECT_EQ(u"1 01 Jan January", date(early, u"M MM MMM MMMM"));
    EXPECT_EQ(u"9 09 2009", date(early, u"y yy yyyy"));
    EXPECT_EQ(u"Day 7 of d's", date(early, u"'Day' d 'of d''s'"));
    EXPECT_EQ(u"it's", date(early, u"'it''s"));
    EXPECT_EQ(u"Friday, March 5, 2010", date(kMarch5, nullptr, DATE_LONGDATE));
}

TEST_F(DateFormat, RussianMonthNamesTakeTheGenitiveNextToADay) {
    ASSERT_TRUE(platform::setUserLocale("ru_RU.UTF-8"));
    EXPECT_EQ(u"Март", date(kMarch5, u"MMMM"));
    EXPECT_EQ(u"Март 2010", date(kMarch5, u"MMMM yyyy"));
    EXPECT_EQ(u"5 марта 2010", date(kMarch5, u"d MMMM yyyy"));
    EXPECT_EQ(u"05.03.2010", date(kMarch5, nullptr, DATE_SHORTDATE));
    EXPECT_EQ(u"Пятница", date(kMarch5, u"dddd"));
    SYSTEMTIME may{2010, 5, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(u"май", date(may, u"MMM"));
    EXPECT_EQ(u"1 мая", date(may, u"d MMM"));
}

TEST_F(DateFormat, GermanNames) {
    ASSERT_TRUE(platform::setUserLocale("de_DE.UTF-8"));
    EXPECT_EQ(u"März 2010", date(kMarch5, u"MMMM yyyy"));
    EXPECT_EQ(u"05.03.2010", date(kMarch5, nullptr, DATE_SHORTDATE));
    EXPECT_EQ(u"14:08:09", time(kMarch5, nullptr));
}

TEST_F(DateFormat, TimeFields) {
    ASSERT_TRUE(platform::setUserLocale("en_US.UTF-8"));
    SYSTEMTIME morning{2010, 3, 0, 5, 0, 5, 7, 0};
    EXPECT_EQ(u"12 12 0 00 AM A", time(morning, u"h hh H HH tt t"));
    EXPECT_EQ(u"5 05 7 07", time(morning, u"m mm s ss"));
    EXPECT_EQ(u"02:08:09 PM", time(kMarch5, nullptr));
    EXPECT_EQ(u"02:08 PM", time(kMarch5, nullptr, TIME_NOSECONDS));
    EXPECT_EQ(u"02 PM", time(kMarch5, nullptr, TIME_NOMINUTESORSECONDS));
    EXPECT_EQ(u"14:08:09", time(kMarch5, u"hh:mm:ss tt", TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER));
}

TEST_F(DateFormat, BufferSizesAndErrors) {
    ASSERT_TRUE(platform::setUserLocale("C"));
    EXPECT_EQ(11, GetDateFormatW(LOCALE_USER_DEFAULT, 0, &kMarch5, u"yyyy.MM.dd", nullptr, 0));
    WCHAR small[10];
    SetLastError(0);
    EXPECT_EQ(0, GetDateFormatW(LOCALE_USER_DEFAULT, 0, &kMarch5, u"yyyy.MM.dd", small, 10));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(9, GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &kMarch5, u"HH:mm:ss", nullptr, 0));
    SYSTEMTIME bad{2010, 2, 0, 30, 0, 0, 0, 0};
    EXPECT_EQ(0, GetDateFormatW(LOCALE_USER_DEFAULT, 0, &bad, u"dd", small, 10));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    SYSTEMTIME leap{2008, 2, 0, 29, 25, 0, 0, 0};
    EXPECT_NE(0, GetDateFormatW(LOCALE_USER_DEFAULT, 0, &leap, u"dd", small, 10));
    EXPECT_EQ(0, GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &leap, u"HH", small, 10));
    EXPECT_EQ(0, GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &kMarch5, u"dd", small, 10));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FLAGS), GetLastError());
}

TEST_F(DateFormat, NullDateMeansNow) {
    ASSERT_TRUE(platform::setUserLocale("C"));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    WCHAR buffer[16];
    ASSERT_EQ(5, GetDateFormatW(LOCALE_USER_DEFAULT, 0, nullptr, u"yyyy", buffer, 16));
    int year =
        (buffer[0] - u'0') * 1000 + (buffer[1] - u'0') * 100 + (buffer[2] - u'0') * 10 + (buffer[3] - u'0');
    EXPECT_GE(year, now.wYear);
    EXPECT_LE(year, now.wYear + 1);
}

}  // namespace
