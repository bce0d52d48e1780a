// Memo placeholders: their forms, offsets, names in the resources, the locale's month names, and week
// numbers under every first day of the week and first-week rule against a reference that counts weeks
// day by day.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "MemoExpansion.h"
#include "RegionalSettings.h"
#include "ResourceText.h"
#include "StoreFixture.h"
#include "WeekNumbering.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace dove {
namespace {

using testing::dateOf;

class MemoExpansionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::setUserLocale("en_US.UTF-8"));
        platform::registerModuleResources(resourceModule(), dashelResourceTable());
        RegionalSettings settings;
        settings.dateOrder = 1;
        settings.dateSeparator = u'.';
        setRegionalSettings(settings);
    }
    void TearDown() override {
        platform::setUserLocale("");
        setRegionalSettings(RegionalSettings{});
        setResourceModule(nullptr);
    }
};

struct Expansion {
    const char16_t* memo;
    Date date;
    const char16_t* expected;
};

TEST_F(MemoExpansionTest, PlaceholdersTheirOffsetsAndWhatStaysAsWritten) {
    const Date jan31 = dateOf(2010, 1, 31, 8, 15);
    const Date mar5 = dateOf(2010, 3, 5);
    const Expansion cases[] = {
        {u"Rent for {month+1} {year}", jan31, u"Rent for February 2010"},
        {u"Rent for March", mar5, u"Rent for March"},
        {u"{ MONTH -1 }", mar5, u"February"},
        {u"{Month}/{YEAR}/{Day}", mar5, u"March/2010/05"},
        {u"{month-13} {year-13}", mar5, u"February 1997"},
        {u"{month-14} {month+22}", mar5, u"January January"},
        {u"{year+1} {year -2}", dateOf(2008, 2, 29), u"2009 2006"},
        {u"{day+1}.{date}", mar5, u"06.05.03.10"},
        {u"{date-5}", mar5, u"28.02.10"},
        {u"{week}", mar5, u"10"},
        {u"{week+1}", mar5, u"11"},
        {u"{month+}", mar5, u"{month+}"},
        {u"{month+ 1}", mar5, u"{month+ 1}"},
        {u"{month 1}", mar5, u"{month 1}"},
        {u"{months}", mar5, u"{months}"},
        {u"{hour}", mar5, u"{hour}"},
        {u"{month", mar5, u"{month"},
        {u"{{month}}", mar5, u"{March}"},
        {u"{}{ }", mar5, u"{}{ }"},
        {u"{year+99999}", mar5, u"{year+99999}"},    // beyond the calendar
        {u"{day+1234567}", mar5, u"{day+1234567}"},  // more digits than an offset has
        {u"\u0416{month}\u0416", mar5, u"\u0416March\u0416"},
    };
    for (const Expansion& c : cases)
        EXPECT_EQ(expandMemo(c.memo, c.date), c.expected) << platform::toUtf8(c.memo);
}

TEST_F(MemoExpansionTest, MonthNamesAreTheLocalesOwn) {
    ASSERT_TRUE(platform::setUserLocale("ru_RU.UTF-8"));
    EXPECT_EQ(expandMemo(u"Аренда за {month+1} {year}", dateOf(2010, 1, 31)), u"Аренда за Февраль 2010");
}

// A string table block (ids 1168 to 1183) with Russian words for the five names.
std::vector<BYTE> russianNameBlock() {
    const std::u16string texts[16] = {u"", u"", u"год", u"месяц", u"неделя", u"день", u"дата"};
    std::vector<BYTE> block;
    for (const std::u16string& text : texts) {
        const WORD length = static_cast<WORD>(text.size());
        block.push_back(static_cast<BYTE>(length & 0xFF));
        block.push_back(static_cast<BYTE>(length >> 8));
        for (char16_t c : text) {
            block.push_back(static_cast<BYTE>(c & 0xFF));
            block.push_back(static_cast<BYTE>(c >> 8));
        }
    }
    return block;
}

TEST_F(MemoExpansionTest, NamesAreAlsoTheResourceWordsInAnyCase) {
    static const std::vector<BYTE> block = russianNameBlock();
    static const platform::ResourceEntry entries[] = {{{6, nullptr},  // RT_STRING
                                                       {1168 / 16 + 1, nullptr},
                                                       block.data(),
                                                       static_cast<DWORD>(block.size())}};
    HINSTANCE module = reinterpret_cast<HINSTANCE>(0x5151000);
    ASSERT_TRUE(platform::registerModuleResources(module, platform::ResourceTable{entries, 1}));
    setResourceModule(module);
    const Date mar5 = dateOf(2010, 3, 5);
    EXPECT_EQ(expandMemo(u"{МЕСЯЦ+1} {Год} {month}", mar5), u"April 2010 March");
    EXPECT_EQ(expandMemo(u"{день}.{дата}", mar5), u"05.05.03.10");
    platform::unregisterModuleResources(module);
}

// The reference: week 1 starts on the first day of the week found by its rule; the weeks are then
// counted by walking day by day and counting each first day of the week.
using namespace std::chrono;

sys_days weekOneStart(int y, int firstDay, int rule) {
    const sys_days january1{year{y} / January / 1};
    sys_days start = january1 - days{6};
    while (weekday{start}.iso_encoding() - 1 != static_cast<unsigned>(firstDay))
        start += days{1};
    // start is now the first day of the week that holds 1 January.
    const int daysInJanuary = static_cast<int>((start + days{7} - january1).count());
    if (rule == kFirstFullWeek && start < january1) start += days{7};
    if (rule == kFirstFourDayWeek && daysInJanuary < 4) start += days{7};
    return start;
}

int referenceWeek(sys_days date, int firstDay, int rule) {
    const int y = static_cast<int>(year_month_day{date}.year());
    sys_days start = weekOneStart(y, firstDay, rule);
    if (date < start) start = weekOneStart(y - 1, firstDay, rule);
    int week = 1;
    for (sys_days d = start + days{1}; d <= date; d += days{1})
        if (weekday{d}.iso_encoding() - 1 == static_cast<unsigned>(firstDay)) ++week;
    return week;
}

Date storeDate(sys_days d) {
    return static_cast<Date>((d - sys_days{year{1601} / January / 1}).count()) * kDateDay +
           12 * 3600 * kDateSecond;
}

TEST_F(MemoExpansionTest, WeekNumbersUnderEveryFirstDayAndRuleFrom2000To2040) {
    for (int firstDay = 0; firstDay < 7; ++firstDay) {
        for (int rule = 0; rule < 3; ++rule) {
            for (sys_days d{year{2000} / January / 1}; d <= sys_days{year{2040} / December / 31};
                 d += days{1}) {
                ASSERT_EQ(weekOfYear(storeDate(d), firstDay, rule), referenceWeek(d, firstDay, rule))
                    << "first day " << firstDay << " rule " << rule << " day "
                    << d.time_since_epoch().count();
            }
        }
    }
}

TEST_F(MemoExpansionTest, TheWeekPlaceholderFollowsTheRegionalSettings) {
    // 2009 began on a Thursday: under Monday and rule 0 its week 1 starts on Monday 29 December 2008.
    const struct {
        int firstDay, rule;
        Date date;
        const char16_t* expected;
    } cases[] = {
        {0, 0, dateOf(2009, 1, 5), u"2"},
        {0, 0, dateOf(2009, 1, 4), u"1"},
        {0, 0, dateOf(2008, 12, 31), u"53"},
        {0, 1, dateOf(2009, 1, 4), u"52"},
        {0, 1, dateOf(2009, 1, 5), u"1"},
        {0, 2, dateOf(2009, 1, 1), u"1"},
        {6, 2, dateOf(2010, 1, 2), u"52"},
        {6, 2, dateOf(2010, 1, 3), u"1"},
        {6, 0, dateOf(2010, 12, 31), u"53"},
        {9, 7, dateOf(2009, 1, 5), u"2"},  // out-of-range settings count as Monday and rule 0
    };
    for (const auto& c : cases) {
        RegionalSettings settings;
        settings.firstDayOfWeek = c.firstDay;
        settings.firstWeekOfYear = c.rule;
        setRegionalSettings(settings);
        EXPECT_EQ(expandMemo(u"{week}", c.date), c.expected) << c.firstDay << " " << c.rule;
    }
}

}  // namespace
}  // namespace dove
