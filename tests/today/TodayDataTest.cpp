// Loading what the item shows from a seeded store: accounts shown on Today with their balances as of
// today and limits, account groups and their member lists, budgets with their plans, the future list
// built and its due entries read, and the details' texts made from them.
#include <gtest/gtest.h>

#include "EntryText.h"
#include "FinanceStore.h"
#include "FutureList.h"
#include "GroupMembers.h"
#include "ItemFixture.h"
#include "TodayData.h"
#include "TodayFields.h"
#include "TransactionRecord.h"
#include "platform/cedb.h"

namespace todaytest {
namespace {

using today::LoadedAccount;
using today::LoadedBudget;
using today::TodayData;

class TodayDataTest : public ItemTest {
  protected:
    TodayData load() {
        TodayData data;
        EXPECT_TRUE(data.reload());
        return data;
    }
    static void seedPlannerItems(std::initializer_list<PlannerSeed> items) {
        StoreSeed seed;
        for (const PlannerSeed& item : items)
            seed.plannerItem(item);
    }
};

TEST_F(TodayDataTest, AccountsShownOnTodayComeInDisplayOrderWithTheirBalanceAsOfToday) {
    {
        StoreSeed seed;
        seed.account({12, u"Card", u"USD", 1500, 0, true, 200});
        seed.account({5, u"Hidden", u"USD", 700, 0, false});
        seed.account({1, u"Cash", u"EUR", 300, 0, true, 300});
        seed.account({7, u"Future only", u"USD", 900, 0, true, 100});
        // Card: entries yesterday and tomorrow; the balance as of today is yesterday's running one.
        seed.transaction(12, dayFromToday(-1), 800, 1000);
        seed.transaction(12, dayFromToday(1), 500, 1500);
        seed.transaction(7, dayFromToday(3), 800, 900);
    }
    TodayData data = load();
    ASSERT_EQ(data.accounts().size(), 3u);
    EXPECT_EQ(data.accounts()[0].todayBalance, 1500) << "a refresh reads no entries: the total for now";
    EXPECT_EQ(data.accounts()[0].markup.find(u"Сегодня"), std::u16string::npos);
    // The details read the balances as of today.
    ASSERT_TRUE(data.loadBalancesAsOfToday());
    EXPECT_NE(data.accounts()[0].markup.find(u"<b>Сегодня:</b> "), std::u16string::npos);
    EXPECT_EQ(data.accounts()[1].markup.find(u"Сегодня"), std::u16string::npos) << "the same as the total";
    const struct {
        int32_t id;
        const char16_t* name;
        int64_t balance, today;
    } expected[] = {{12, u"Card", 1500, 1000},
                    {1, u"Cash", 300, 300},  // no entries: its starting balance, not account 12's
                    {7, u"Future only", 900, 100}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data.accounts()[i].id, expected[i].id);
        EXPECT_EQ(data.accounts()[i].name, expected[i].name);
        EXPECT_EQ(data.accounts()[i].balance, expected[i].balance);
        EXPECT_EQ(data.accounts()[i].todayBalance, expected[i].today);
    }
    EXPECT_TRUE(data.anythingLoaded());
}

TEST_F(TodayDataTest, AnAccountNeedsAttentionWhenItsBalanceIsBelowItsLimit) {
    seedAccounts({{1, u"No limit", u"USD", -5000, 0},
                  {2, u"Below", u"USD", -5001, -5000},
                  {3, u"At", u"USD", -5000, -5000},
                  {4, u"Above", u"USD", 100, 50}});
    const TodayData data = load();
    ASSERT_EQ(data.accounts().size(), 4u);
    EXPECT_EQ(data.accountsNeedingAttention(), 1);
    EXPECT_TRUE(data.accounts()[1].needsAttention());
}

TEST_F(TodayDataTest, MemberListsReadTheirEntriesAndSkipBrokenOnes) {
    const struct {
        const char16_t* text;
        std::vector<std::pair<uint64_t, char16_t>> members;
    } cases[] = {
        {u"#3@1#4@0#5@1", {{3, u'1'}, {4, u'0'}, {5, u'1'}}},
        {u"", {}},
        {u"#12@x", {{12, u'x'}}},
        {u"#@1#7@1", {{7, u'1'}}},                                    // no digits
        {u"#8@", {}},                                                 // no state
        {u"#9#10@1", {{10, u'1'}}},                                   // no "@"
        {u"#1234567890123456789@1", {{1234567890123456789u, u'1'}}},  // 19 digits
        {u"#12345678901234567890@1#2@1", {{2, u'1'}}},                // 20 digits
        {u"junk#6@1junk", {{6, u'1'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.text)));
        const auto members = today::parseGroupMembers(c.text);
        ASSERT_EQ(members.size(), c.members.size());
        for (size_t i = 0; i < members.size(); ++i) {
            EXPECT_EQ(members[i].account, c.members[i].first);
            EXPECT_EQ(members[i].state, c.members[i].second);
        }
    }
}

TEST_F(TodayDataTest, GroupsOfTheirRangeSumTheirCountedMembers) {
    {
        StoreSeed seed;
        seed.account({3, u"Three", u"USD", 1000, 0, false});
        seed.account({4, u"Four", u"USD", 20000, 0, false});
        seed.account({5, u"Five", u"USD", 250});
        seed.account({6, u"Six", u"EUR", 50});
        seed.group(999, u"Before", u"#3@1");
        seed.group(1000, u"Family", u"#3@1#4@0#5@1");
        seed.group(1050, u"Mixed", u"#5@1#6@1#77@1");
        seed.group(1099, u"Empty", u"");
        seed.group(1100, u"After", u"#3@1");
    }
    const TodayData data = load();
    ASSERT_EQ(data.groups().size(), 3u);
    EXPECT_EQ(data.groups()[0].id, 1000);
    EXPECT_EQ(data.groups()[0].name, u"Family");
    EXPECT_EQ(data.groups()[0].balance, 1250) << "accounts 3 and 5";
    EXPECT_EQ(data.groups()[0].currency, u"USD");
    EXPECT_EQ(data.groups()[1].balance, 300) << "account 77 does not exist; no rates: one to one";
    EXPECT_NE(data.groups()[1].currency, u"EUR") << "members in two currencies: the default currency";
    EXPECT_EQ(data.groups()[2].id, 1099);
    EXPECT_EQ(data.groups()[2].balance, 0);
}

TEST_F(TodayDataTest, BudgetsAddUpTheirActiveLinesForThePercentageUsed) {
    {
        StoreSeed seed;
        seed.budget(2, u"Food", true, {{-30000, -25500}, {-20000, -17000}, {-90000, -90000, false}});
        seed.budget(1, u"Salary", false, {{300000, 150000}});
        seed.budget(3, u"Nothing planned", true, {});
    }
    const TodayData data = load();
    ASSERT_EQ(data.budgets().size(), 3u);
    const LoadedBudget& salary = data.budgets()[0];
    const LoadedBudget& food = data.budgets()[1];
    EXPECT_EQ(salary.id, 1);
    EXPECT_FALSE(salary.expense);
    EXPECT_EQ(salary.percentage, 50);
    EXPECT_EQ(food.planned, -50000) << "the inactive line does not count";
    EXPECT_EQ(food.actual, -42500);
    EXPECT_EQ(food.percentage, 85);
    EXPECT_TRUE(food.needsAttention());
    EXPECT_EQ(data.budgets()[2].percentage, 0);
    EXPECT_EQ(data.budgetsNeedingAttention(), 1);
}

TEST_F(TodayDataTest, ALineWithoutAnEveryMonthLimitUsesThisMonthsLimit) {
    {
        StoreSeed seed;
        seed.budget(1, u"Monthly", true, {});
        const int month = dove::dateFields(dove::nowLocal()).wMonth;
        std::vector<dove::PropertyValue> line{
            dove::PropertyValue::i4(today::fields::kBudgetNumber, 1),
            dove::PropertyValue::i4(today::fields::kLineActive, 1),
            dove::PropertyValue::date(today::fields::kLineMonthTotal, static_cast<uint64_t>(int64_t{-900}))};
        for (int m = 1; m <= 12; ++m)
            line.push_back(dove::PropertyValue::date(
                static_cast<dove::PropertyNumber>(today::fields::kLineJanuaryLimit + m - 1),
                static_cast<uint64_t>(int64_t{m == month ? -1000 : -1})));
        ASSERT_NE(dove::tableCursor(dove::Table::BudgetLists).addRecord(line), 0u);
    }
    const TodayData data = load();
    ASSERT_EQ(data.budgets().size(), 1u);
    EXPECT_EQ(data.budgets()[0].planned, -1000);
    EXPECT_EQ(data.budgets()[0].percentage, 90);
}

TEST_F(TodayDataTest, PercentagesAreTruncatedAndStayWithinRange) {
    const struct {
        int64_t actual, planned;
        int percentage;
    } cases[] = {{0, 0, 0},         {100, 0, 0},  {-999, -1000, 99},         {-1000, -1000, 100},
                 {500, -1000, -50}, {-1, -3, 33}, {INT64_MAX, 1, INT32_MAX}, {INT64_MIN, 1, INT32_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(today::percentageUsed(c.actual, c.planned), c.percentage) << c.actual << " / " << c.planned;
}

TEST_F(TodayDataTest, DueScheduledEntriesAreLoadedOnlyWhenTheOptionAsks) {
    {
        StoreSeed seed;
        // Weekly rent: the first of its occurrences was entered, the next two are due.
        seed.plannerItem({1, u"Rent", dayFromToday(-14), -120000, dove::kWeekly, -1, 1});
        // Weekly insurance listed three days ahead: its first occurrence is due, the second not yet.
        seed.plannerItem({2, u"Insurance", dayFromToday(2), -9000, dove::kWeekly, -1, 0, 3});
    }
    EXPECT_TRUE(load().scheduled().empty()) << "the option is not set";
    showScheduledOnToday(true);
    const TodayData data = load();
    ASSERT_EQ(data.futureListBuild(), dove::FutureListStatus::Built);
    ASSERT_EQ(data.scheduled().size(), 3u);
    EXPECT_EQ(data.scheduled()[0].date, dayFromToday(-7)) << "in date order";
    EXPECT_EQ(data.scheduled()[1].description, u"Rent");
    EXPECT_EQ(data.scheduled()[1].date, dayFromToday(0));
    EXPECT_EQ(data.scheduled()[2].description, u"Insurance");
    EXPECT_EQ(data.scheduled()[2].schedule, 2);
    EXPECT_EQ(data.scheduled()[2].amount, -9000);
    EXPECT_TRUE(data.anythingLoaded());
}

TEST_F(TodayDataTest, PaymentsAlreadyEnteredShapeTheDueEntries) {
    std::u16string remaining;
    {
        StoreSeed seed;
        const dove::Date bill = dayFromToday(-1);
        seed.plannerItem({1, u"Power", bill, -33000, dove::kQuarterly});
        seed.payment(1, bill, -15000, false);
        // Three payments, all entered: nothing left to list.
        seed.plannerItem({2, u"Lessons", dayFromToday(-21), -2500, dove::kWeekly, 3, 3});
        // Paid in full before the item moved on: only the next occurrence is due.
        seed.plannerItem({3, u"Gym", dayFromToday(-7), -4000, dove::kWeekly});
        seed.payment(3, dayFromToday(-7), -4000, true);
        // An entry left in the list by an earlier build, for an item that is gone.
        ASSERT_NE(dove::tableCursor(dove::Table::Scheduled)
                      .addRecord({dove::PropertyValue::i4(dove::tx::kScheduleNumber, 9),
                                  dove::PropertyValue::date(dove::tx::kDate, dayFromToday(0))}),
                  0u);
        remaining = today::storeAmountText(-18000, u"USD");
    }
    showScheduledOnToday(true);
    const TodayData data = load();
    ASSERT_EQ(data.scheduled().size(), 2u);
    EXPECT_EQ(data.scheduled()[0].description, u"Power");
    EXPECT_EQ(data.scheduled()[0].amount, -18000) << "what the part payment left due";
    EXPECT_NE(data.scheduled()[0].markup.find(u"<b>Итого:</b> " + remaining + u"\n"), std::u16string::npos)
        << ::testing::PrintToString(data.scheduled()[0].markup);
    EXPECT_EQ(data.scheduled()[1].description, u"Gym");
    EXPECT_EQ(data.scheduled()[1].date, dayFromToday(0));
}

TEST_F(TodayDataTest, TheListIsBuiltAnewOnlyWhenScheduledDataChanged) {
    seedPlannerItems({{1, u"Rent", dayFromToday(0), -120000}});
    showScheduledOnToday(true);
    TodayData data;
    ASSERT_TRUE(data.reload());
    EXPECT_EQ(data.futureListBuild(), dove::FutureListStatus::Built) << "the first load builds it";
    EXPECT_EQ(data.scheduled().size(), 1u);
    // Another program adds an item; a reload that was not told reads the list as it stands.
    seedPlannerItems({{2, u"Loan", dayFromToday(-1), -5000}});
    ASSERT_TRUE(data.reload());
    EXPECT_EQ(data.futureListBuild(), dove::FutureListStatus::Unchanged);
    EXPECT_EQ(data.scheduled().size(), 1u);
    data.scheduledDataChanged();
    ASSERT_TRUE(data.reload());
    EXPECT_EQ(data.futureListBuild(), dove::FutureListStatus::Built);
    EXPECT_EQ(data.scheduled().size(), 2u);
    // A write of this process raises no flag for itself, only the scheduled-data counter.
    seedPlannerItems({{3, u"Gym", dayFromToday(0), -4000}});
    dove::raiseScheduledChanged();
    ASSERT_TRUE(data.reload());
    EXPECT_EQ(data.futureListBuild(), dove::FutureListStatus::Built);
    EXPECT_EQ(data.scheduled().size(), 3u);
    showScheduledOnToday(false);
    ASSERT_TRUE(data.reload());
    EXPECT_FALSE(data.futureListBuild().has_value()) << "nothing built while the option is off";
}

TEST_F(TodayDataTest, AFailedBuildLeavesTheListAsItWasAndTheNextLoadTriesAgain) {
    seedPlannerItems({{1, u"Rent", dayFromToday(0), -120000}});
    showScheduledOnToday(true);
    TodayData data;
    ASSERT_TRUE(data.reload());
    seedPlannerItems({{2, u"Loan", dayFromToday(-1), -5000}});
    data.scheduledDataChanged();
    platform::cedbFailNthOperation(1);
    ASSERT_TRUE(data.reload());
    platform::cedbFailNthOperation(0);
    ASSERT_TRUE(data.futureListBuild().has_value());
    EXPECT_FALSE(dove::succeeded(*data.futureListBuild()))
        << dove::futureListStatusName(*data.futureListBuild());
    ASSERT_EQ(data.scheduled().size(), 1u) << "what the list held";
    EXPECT_EQ(data.scheduled()[0].description, u"Rent");
    ASSERT_TRUE(data.reload());
    EXPECT_EQ(data.futureListBuild(), dove::FutureListStatus::Built) << "still to be built anew";
    EXPECT_EQ(data.scheduled().size(), 2u);
}

// ---- The details' texts ----------------------------------------------------------------------------

std::u16string plainAmount(dove::Amount amount, const std::u16string& currency) {
    const std::string digits = std::to_string(amount);
    return std::u16string(digits.begin(), digits.end()) + u" " + currency;
}

TEST_F(TodayDataTest, EntryTextsFollowTheirForms) {
    LoadedAccount account{7, u"Card", u"USD", -600, -400, 0, -500, {}};
    EXPECT_EQ(today::accountMarkup(account, plainAmount),
              u"<b>Card</b><#777777><l></#><i>Счет переполнен </i>\n<b>Итого:</b> -600 USD\n"
              u"<b>Сегодня:</b> -400 USD\n");
    account.limit = 0;
    account.todayBalance = account.balance;
    EXPECT_EQ(today::accountMarkup(account, plainAmount),
              u"<b>Card</b><#777777><l></#><b>Итого:</b> -600 USD\n");

    today::LoadedGroup group{1000, u"Family", u"#1@1", u"EUR", 1250, {}};
    EXPECT_EQ(today::groupMarkup(group, plainAmount),
              u"<b>Family</b><#777777><l></#><b>Итого:</b> 1250 EUR\n");

    LoadedBudget budget{2, u"Food", u"USD", true, -1000, -1000, 100, {}, {}};
    EXPECT_EQ(today::budgetMarkup(budget, plainAmount),
              u"<b>Food</b><#777777><l></#><b>Итого:</b> -1000 USD\n");
    EXPECT_EQ(today::budgetAlertMarkup(budget, plainAmount), u"<b>Food     -1000 USD</b><#777777><l></#>");
    budget.percentage = 99;
    EXPECT_EQ(today::budgetAlertMarkup(budget, plainAmount), u"") << "below 100 %: no alert";
    budget.percentage = 150;
    budget.expense = false;
    EXPECT_EQ(today::budgetAlertMarkup(budget, plainAmount), u"") << "only expense budgets alert";

    today::LoadedScheduled entry{4, u"Rent", u"USD", dayFromToday(0), -120000, {}};
    EXPECT_EQ(today::scheduledMarkup(entry, plainAmount), u"<b>Rent</b><#777777><l></#><b>Дата:</b> " +
                                                              dove::shortDateText(entry.date) +
                                                              u"\n<b>Итого:</b> -120000 USD\n");
}

TEST_F(TodayDataTest, TheLoadMakesEveryEntrysTextWhileTheStoreIsOpen) {
    {
        StoreSeed seed;
        seed.account({1, u"Cash", u"USD", 12345});
        seed.budget(1, u"Food", true, {{-1000, -1500}});
        seed.group(1000, u"All", u"#1@1");
    }
    const TodayData data = load();
    EXPECT_FALSE(dove::isFinanceStoreOpened());
    ASSERT_EQ(data.accounts().size(), 1u);
    EXPECT_NE(data.accounts()[0].markup.find(u"<b>Итого:</b> "), std::u16string::npos);
    EXPECT_NE(data.accounts()[0].markup.find(u"123.45"), std::u16string::npos);
    EXPECT_NE(data.groups()[0].markup.find(u"123.45"), std::u16string::npos);
    EXPECT_NE(data.budgets()[0].alert.find(u"Food     "), std::u16string::npos) << "used 150 %";
}

}  // namespace
}  // namespace todaytest
