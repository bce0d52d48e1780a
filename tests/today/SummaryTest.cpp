// The two summary lines: the counts of what needs attention, the listed names fitted to the line, the
// fine and empty texts, and the lines as the item paints them (bold first line, red names).
#include <gtest/gtest.h>

#include "ItemFixture.h"
#include "ItemText.h"
#include "TodayLibrary.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using today::ItemLines;
using today::itemLines;
using today::TodayData;

class SummaryTest : public ItemTest {
  protected:
    ItemLines lines() {
        TodayData data;
        EXPECT_TRUE(data.reload());
        return itemLines(data);
    }
    static std::vector<std::u16string> names(const ItemLines& lines) {
        std::vector<std::u16string> out;
        for (const auto& name : lines.names)
            out.push_back(name.text);
        return out;
    }
};

TEST_F(SummaryTest, OneExpenseBudgetAt85PercentNeedsAttention) {
    {
        StoreSeed seed;
        seed.budget(1, u"Food", true, {{-50000, -42500}});
        seed.budget(2, u"Fun", true, {{-10000, -5000}});
    }
    const ItemLines summary = lines();
    EXPECT_EQ(summary.first, u"1 Бюджет внимание");
    EXPECT_TRUE(summary.firstBold);
    EXPECT_EQ(summary.second, u"");
    ASSERT_EQ(names(summary), std::vector<std::u16string>{u"Food"});
    EXPECT_FALSE(summary.names[0].red);
}

TEST_F(SummaryTest, TheCountsJoinBudgetsAndAccounts) {
    const struct {
        int budgets, accounts;
        const char16_t* first;
    } cases[] = {
        {1, 1, u"1 Бюджет и 1 Счет Внимание"},
        {2, 0, u"2 Бюджет Внимание"},
        {0, 1, u"1 Счет внимание"},
        {0, 3, u"3 Счет Внимание"},
        {3, 2, u"3 Бюджет и 2 Счет Внимание"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.first)));
        freshRoot();
        {
            StoreSeed seed;
            for (int b = 0; b < c.budgets; ++b)
                seed.budget(b + 1, u"B" + std::u16string(1, static_cast<char16_t>(u'0' + b)), true,
                            {{-100, -90}});
            for (int a = 0; a < c.accounts; ++a)
                seed.account(
                    {a + 1, u"A" + std::u16string(1, static_cast<char16_t>(u'0' + a)), u"USD", -10, -5});
            seed.account({50, u"Fine", u"USD", 10, 5});
        }
        const ItemLines summary = lines();
        EXPECT_EQ(summary.first, c.first);
        EXPECT_TRUE(summary.firstBold);
        // Budgets come first on the second line; accounts only when no budget needs attention.
        EXPECT_EQ(summary.names.size(), static_cast<size_t>(c.budgets > 0 ? c.budgets : c.accounts));
        EXPECT_EQ(summary.names.front().text[0], c.budgets > 0 ? u'B' : u'A');
    }
}

TEST_F(SummaryTest, DueScheduledTransactionsTakeTheSecondLine) {
    {
        StoreSeed seed;
        seed.budget(1, u"Food", true, {{-100, -95}});
        seed.plannerItem({1, u"Rent", dayFromToday(0), -100});
        seed.plannerItem({2, u"Loan", dayFromToday(-1), -100});
    }
    showScheduledOnToday(true);
    const ItemLines summary = lines();
    EXPECT_EQ(summary.first, u"1 Бюджет внимание");
    EXPECT_EQ(summary.second, u"2 Запланир.");
    EXPECT_TRUE(summary.names.empty());
}

TEST_F(SummaryTest, NothingNeedingAttentionGivesTheFineOrEmptyTexts) {
    EXPECT_EQ(lines().first, u"Нет выбранных финансовых данных");
    EXPECT_EQ(lines().second, u"Нажмите здесь для найстройки...");
    seedAccounts({{1, u"Cash", u"USD", 100}});
    const ItemLines summary = lines();
    EXPECT_EQ(summary.first, u"Бюджеты и счета в порядке");
    EXPECT_FALSE(summary.firstBold);
    EXPECT_EQ(summary.second, u"Нет Запланированных");
}

TEST_F(SummaryTest, ListedBudgetsAreThoseUsed80PercentOrMoreAndOverspentExpensesAreRed) {
    {
        StoreSeed seed;
        seed.budget(1, u"Over", true, {{-100, -100}});
        seed.budget(2, u"Exactly80", true, {{-100, -80}});
        seed.budget(3, u"Low", true, {{-100, -50}});
        seed.budget(4, u"Income", false, {{100, 120}});
        seed.budget(5, u"Almost", true, {{-1000, -999}});
    }
    const ItemLines summary = lines();
    EXPECT_EQ(summary.first, u"2 Бюджет Внимание") << "80 % exactly is not above 80";
    ASSERT_EQ(names(summary), (std::vector<std::u16string>{u"Over", u"Exactly80", u"Income", u"Almost"}));
    EXPECT_TRUE(summary.names[0].red);
    EXPECT_FALSE(summary.names[1].red);
    EXPECT_FALSE(summary.names[2].red) << "not an expense budget";
    EXPECT_FALSE(summary.names[3].red) << "99 %";
}

TEST_F(SummaryTest, NamesAreJoinedWhileTheyFitAndTheFirstThatDoesNotBecomesDots) {
    auto tenEach = [](const std::u16string& text) { return static_cast<int>(text.size()) * 10; };
    const std::vector<today::ListedName> listed{{u"Food", true}, {u"Car", false}, {u"Travel", false}};
    const struct {
        int width;
        std::vector<std::u16string> pieces;
    } cases[] = {
        {200, {u"Food", u", ", u"Car", u", ", u"Travel"}},
        {170, {u"Food", u", ", u"Car", u", ", u"Travel"}},  // exactly 170
        {169, {u"Food", u", ", u"Car", u", ", u"..."}},
        {90, {u"Food", u", ", u"Car", u", ", u"..."}},
        {89, {u"Food", u", ", u"..."}},
        {39, {u"..."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const auto pieces = today::fitNames(listed, c.width, tenEach);
        std::vector<std::u16string> texts;
        for (const auto& piece : pieces)
            texts.push_back(piece.text);
        EXPECT_EQ(texts, c.pieces);
        EXPECT_EQ(pieces.front().red, c.width >= 40) << "Food is red; the dots are not";
    }
}

// ---- As painted ----------------------------------------------------------------------------------

class SummaryPaintTest : public ItemTest {
  protected:
    // Pixels of the item's text area in the colour, within 60 in each component.
    int inked(int line, COLORREF colour) {
        const RECT screen = itemOnScreen();
        const RECT client{0, 0, screen.right - screen.left, screen.bottom - screen.top};
        const RECT text = item().layout().textArea(client);
        const int top = item().layout().firstLineTop(client) + line * item().layout().lineHeight();
        int count = 0;
        for (int y = top; y < top + item().layout().lineHeight(); ++y)
            for (int x = text.left; x < text.right; ++x) {
                const COLORREF p = platform::testing::screenPixel(screen.left + x, screen.top + y);
                count += std::abs(GetRValue(p) - GetRValue(colour)) < 60 &&
                                 std::abs(GetGValue(p) - GetGValue(colour)) < 60 &&
                                 std::abs(GetBValue(p) - GetBValue(colour)) < 60
                             ? 1
                             : 0;
            }
        return count;
    }
};

TEST_F(SummaryPaintTest, AnAttentionLineIsBoldAndAnOverspentBudgetRed) {
    {
        StoreSeed seed;
        seed.budget(1, u"Food", true, {{-100, -150}});
    }
    ASSERT_NE(showItem(), nullptr);
    const int boldInk = inked(0, kHomeTextColour);
    EXPECT_GT(inked(1, RGB(250, 10, 10)), 10) << "the budget's name in red";
    today::releaseLibraryItem();
    // The same number of letters without attention: a lighter line.
    freshRoot();
    {
        StoreSeed seed;
        seed.budget(1, u"Food", true, {{-100, -15}});
    }
    ASSERT_NE(showItem(), nullptr);
    EXPECT_EQ(itemLines(item().data()).first, u"Бюджеты и счета в порядке");
    const int normalInk = inked(0, kHomeTextColour);
    // "1 Бюджет внимание" has 17 letters against 25: bold must still bring more ink per letter.
    EXPECT_GT(boldInk * 25, normalInk * 17 * 12 / 10) << "bold " << boldInk << ", normal " << normalInk;
}

}  // namespace
}  // namespace todaytest
