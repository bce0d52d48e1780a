// GetLocaleInfoW and the language identifiers under the C, en_US, ru_RU and de_DE locales.
#include <gtest/gtest.h>

#include <string>

#include "platform/handles.h"
#include "platform/winerror.h"
#include "platform/winnls.h"

namespace {

class LocaleInfo : public ::testing::Test {
  protected:
    void TearDown() override { platform::setUserLocale(""); }

    static std::u16string item(LCTYPE type, LCID lcid = LOCALE_USER_DEFAULT) {
        WCHAR buffer[128];
        int written = GetLocaleInfoW(lcid, type, buffer, 128);
        if (written == 0) return u"<failed>";
        EXPECT_EQ(static_cast<size_t>(written), std::u16string(buffer).size() + 1);
        return buffer;
    }
};

struct Expected {
    const char* locale;
    LANGID language;
    const char16_t* decimal;
    const char16_t* thousand;
    const char16_t* dateOrder;
    const char16_t* dateSeparator;
    const char16_t* shortDate;
    const char16_t* timeFormat;
    const char16_t* firstDay;
    const char16_t* firstWeek;
    const char16_t* currency;
    const char16_t* positivePattern;
    const char16_t* negativePattern;
    const char16_t* month1;
    const char16_t* day1;
};

const Expected kLocales[] = {
    {"C", 0x0409, u".", u",", u"0", u"/", u"MM/dd/yyyy", u"HH:mm:ss", u"6", u"0", u"\u00A4", u"0", u"0",
     u"January", u"Monday"},
    {"en_US.UTF-8", 0x0409, u".", u",", u"0", u"/", u"MM/dd/yyyy", u"hh:mm:ss tt", u"6", u"0", u"$", u"0",
     u"1", u"January", u"Monday"},
    {"ru_RU.UTF-8", 0x0419, u",", u"\u202F", u"1", u".", u"dd.MM.yyyy", u"HH:mm:ss", u"0", u"0", u"\u20BD",
     u"3", u"8", u"Январь", u"Понедельник"},
    {"de_DE.UTF-8", 0x0407, u",", u".", u"1", u".", u"dd.MM.yyyy", u"HH:mm:ss", u"0", u"2", u"€", u"3", u"8",
     u"Januar", u"Montag"},
};

TEST_F(LocaleInfo, ItemsFollowTheLocaleData) {
    for (const Expected& e : kLocales) {
        SCOPED_TRACE(e.locale);
        ASSERT_TRUE(platform::setUserLocale(e.locale));
        EXPECT_EQ(e.language, GetUserDefaultLangID());
        EXPECT_EQ(static_cast<LCID>(e.language), GetUserDefaultLCID());
        EXPECT_EQ(e.decimal, item(LOCALE_SDECIMAL));
        EXPECT_EQ(e.thousand, item(LOCALE_STHOUSAND));
        EXPECT_EQ(e.dateOrder, item(LOCALE_IDATE));
        EXPECT_EQ(e.dateSeparator, item(LOCALE_SDATE));
        EXPECT_EQ(e.shortDate, item(LOCALE_SSHORTDATE));
        EXPECT_EQ(e.timeFormat, item(LOCALE_STIMEFORMAT));
        EXPECT_EQ(e.firstDay, item(LOCALE_IFIRSTDAYOFWEEK));
        EXPECT_EQ(e.firstWeek, item(LOCALE_IFIRSTWEEKOFYEAR));
        EXPECT_EQ(e.currency, item(LOCALE_SCURRENCY));
        EXPECT_EQ(e.positivePattern, item(LOCALE_ICURRENCY));
        EXPECT_EQ(e.negativePattern, item(LOCALE_INEGCURR));
        EXPECT_EQ(e.month1, item(LOCALE_SMONTHNAME1));
        EXPECT_EQ(e.day1, item(LOCALE_SDAYNAME1));
        EXPECT_EQ(u"", item(LOCALE_SMONTHNAME13));
        EXPECT_EQ(u"2", item(LOCALE_IDIGITS));
        EXPECT_EQ(u"2", item(LOCALE_ICURRDIGITS));
    }
}

TEST_F(LocaleInfo, LanguageAndNames) {
    ASSERT_TRUE(platform::setUserLocale("ru_RU.UTF-8"));
    EXPECT_EQ(u"0419", item(LOCALE_ILANGUAGE));
    EXPECT_EQ(LANG_RUSSIAN, PRIMARYLANGID(GetUserDefaultLangID()));
    EXPECT_EQ(SUBLANG_DEFAULT, SUBLANGID(GetUserDefaultLangID()));
    EXPECT_EQ(u"Воскресенье", item(LOCALE_SDAYNAME7));
    EXPECT_EQ(u"Пн", item(LOCALE_SABBREVDAYNAME1));
    EXPECT_EQ(u"Март", item(LOCALE_SMONTHNAME3));
    EXPECT_EQ(u"май", item(LOCALE_SABBREVMONTHNAME5));
    ASSERT_TRUE(platform::setUserLocale("de_DE.UTF-8"));
    EXPECT_EQ(u"0407", item(LOCALE_ILANGUAGE));
    EXPECT_EQ(u"Dezember", item(LOCALE_SMONTHNAME12));
    EXPECT_EQ(u"So", item(LOCALE_SABBREVDAYNAME7));
    ASSERT_TRUE(platform::setUserLocale("C"));
    EXPECT_EQ(u"0409", item(LOCALE_ILANGUAGE));
    EXPECT_EQ(u"Sun", item(LOCALE_SABBREVDAYNAME7));
}

TEST_F(LocaleInfo, ExplicitLcidsReachOtherInstalledLocales) {
    ASSERT_TRUE(platform::setUserLocale("en_US.UTF-8"));
    EXPECT_EQ(u",", item(LOCALE_SDECIMAL, MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT)));
    EXPECT_EQ(u"Januar", item(LOCALE_SMONTHNAME1, 0x0407));
    EXPECT_EQ(u".", item(LOCALE_SDECIMAL, LOCALE_SYSTEM_DEFAULT));
    SetLastError(0);
    WCHAR buffer[8];
    EXPECT_EQ(0, GetLocaleInfoW(0x0436, LOCALE_SDECIMAL, buffer, 8));  // Afrikaans is not installed
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(LocaleInfo, BufferSizes) {
    ASSERT_TRUE(platform::setUserLocale("ru_RU.UTF-8"));
    EXPECT_EQ(7, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1, nullptr, 0));
    WCHAR small[6];
    SetLastError(0);
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1, small, 6));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    WCHAR exact[7];
    EXPECT_EQ(7, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1, exact, 7));
    EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x7777, exact, 7));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FLAGS), GetLastError());
    DWORD number = 0;
    EXPECT_EQ(2, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK | LOCALE_RETURN_NUMBER,
                                reinterpret_cast<LPWSTR>(&number), 2));
    EXPECT_EQ(0u, number);
    EXPECT_EQ(2, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE | LOCALE_RETURN_NUMBER,
                                reinterpret_cast<LPWSTR>(&number), 2));
    EXPECT_EQ(0x419u, number);
}

TEST_F(LocaleInfo, UnknownLocaleNameIsRefused) {
    ASSERT_TRUE(platform::setUserLocale("de_DE.UTF-8"));
    EXPECT_FALSE(platform::setUserLocale("xx_NOPE.UTF-8"));
    EXPECT_EQ(0x0407, GetUserDefaultLangID());
}

}  // namespace
