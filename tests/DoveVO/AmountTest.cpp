// Amount rounding, number and fixed-point text, typed-amount parsing.
#include <gtest/gtest.h>

#include "Amount.h"
#include "RegionalSettings.h"

namespace dove {
namespace {

class AmountText : public ::testing::Test {
  protected:
    void SetUp() override { setRegionalSettings(RegionalSettings{}); }
    void TearDown() override { setRegionalSettings(RegionalSettings{}); }
};

TEST(Amount, RoundsHalfAwayFromZero) {
    EXPECT_EQ(amountFromReal(1234.5), 1235);
    EXPECT_EQ(amountFromReal(-1234.5), -1235);
    EXPECT_EQ(amountFromReal(0), 0);
    EXPECT_EQ(amountFromReal(-0.4), 0);
    EXPECT_EQ(amountFromReal(0.5), 1);
    EXPECT_EQ(amountFromReal(-0.5), -1);
    EXPECT_EQ(amountFromReal(12.3456 * 100), 1235);
}

TEST_F(AmountText, NumberTextGroupsAndSigns) {
    struct Case {
        Amount amount;
        bool omit;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, false, u"0.00"},
        {0, true, u"0"},
        {-5, false, u"-0.05"},
        {-100, true, u"-1"},
        {-150, true, u"-1.50"},
        {1234567, false, u"12 345.67"},
        {99999, false, u"999.99"},
        {10000000, false, u"100 000.00"},
        {100000000, false, u"1 000 000.00"},
        {INT64_MIN, false, u"-92 233 720 368 547 758.08"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberText(c.amount, c.omit), c.text) << c.amount;
}

TEST_F(AmountText, NumberTextFollowsTheSeparators) {
    RegionalSettings s;
    s.thousandsSeparator = u',';
    setRegionalSettings(s);
    EXPECT_EQ(numberText(100000, false), u"1,000.00");
    EXPECT_EQ(numberText(-12345678, false), u"-123,456.78");
    s.decimalSeparator = u',';
    s.thousandsSeparator = u'.';
    setRegionalSettings(s);
    EXPECT_EQ(numberText(123456, false), u"1.234,56");
}

TEST(Amount, FixedTextUsesTheGivenPoint) {
    EXPECT_EQ(fixedText(1234.5, 2, u'.'), u"1234.50");
    EXPECT_EQ(fixedText(1234.5, 2, u','), u"1234,50");
    EXPECT_EQ(fixedText(0.0123456789012, 10, u','), u"0,0123456789");
    EXPECT_EQ(fixedText(-2, 2, u','), u"-2,00");
}

TEST(Amount, ParseTypedAmountAcceptsAnySeparator) {
    struct Case {
        const char16_t* text;
        double value;
    };
    const Case cases[] = {
        {u"1 234,5", 1234.5},
        {u"1.234,56", 1234.56},
        {u"1,234.56", 1234.56},
        {u"1.234", 1.234},
        {u"12-3", 12},
        {u"", 0},
        {u"   ", 0},
        {u"abc", 0},
        {u" -7;25 ", -7.25},
        {u"5@5", 5.5},
        {u"1'000|5", 1000.5},
        {u"-", 0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(parseTypedAmount(c.text), c.value);
}

}  // namespace
}  // namespace dove
