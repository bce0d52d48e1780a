// DigitString and CalcDecimal: the bounded digit arithmetic with its sticky error flag, reading and
// writing decimal text, and the four operations with their signs, truncation and rounding.

#include <gtest/gtest.h>

#include <string>

#include "CalcDecimal.h"
#include "DigitString.h"

namespace {

DigitString digits(const char16_t* text, uint32_t capacity = 30) {
    DigitString value(capacity);
    EXPECT_TRUE(value.assign(std::u16string_view(text)));
    return value;
}

CalcDecimal decimal(const char16_t* text) {
    CalcDecimal value;
    EXPECT_TRUE(value.setText(text));
    return value;
}

std::string narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

TEST(DigitString, ReadsDigitsAndRefusesAnythingElse) {
    DigitString value = digits(u"000120");
    EXPECT_EQ(value.size(), 3u);
    EXPECT_EQ(narrow(value.text()), "120");
    EXPECT_FALSE(value.assign(std::u16string_view(u"12a")));
    EXPECT_EQ(narrow(value.text()), "120") << "a refused text leaves the value";
    EXPECT_TRUE(value.assign(std::u16string_view(u"")));
    EXPECT_TRUE(value.isZero());
    EXPECT_EQ(narrow(value.text()), "0");
    EXPECT_TRUE(value.assign(std::u16string_view(u"1234")));
    DigitString small(3);
    EXPECT_TRUE(small.assign(std::u16string_view(u"1234")));
    EXPECT_TRUE(small.isError()) << "four digits do not fit three cells";
}

TEST(DigitString, ShiftsStayWithinTheCapacity) {
    DigitString value = digits(u"123", 6);
    value.shiftLeft(3);
    EXPECT_EQ(narrow(value.text()), "123000");
    value.shiftRight(4);
    EXPECT_EQ(narrow(value.text()), "12");
    value.shiftRight(2);
    EXPECT_TRUE(value.isZero()) << "shifting out every digit gives zero";
    value = digits(u"123", 6);
    value.shiftLeft(4);
    EXPECT_TRUE(value.isError());
}

TEST(DigitString, ErrorSticksThroughEveryOperation) {
    DigitString value = digits(u"999", 3);
    value.add(digits(u"1"));
    ASSERT_TRUE(value.isError()) << "a carry beyond the capacity";
    value.subtract(digits(u"1"));
    value.shiftRight(1);
    value.multiply(digits(u"1"));
    EXPECT_TRUE(value.isError());
    DigitString clean = digits(u"5");
    clean.add(value);
    EXPECT_TRUE(clean.isError()) << "an operand in error passes it on";
    clean.clear();
    EXPECT_FALSE(clean.isError());
}

TEST(DigitString, CopyIntoASmallerTargetEnlargesIt) {
    DigitString target(2);
    target = digits(u"123456");
    EXPECT_GE(target.capacity(), 6u);
    EXPECT_EQ(narrow(target.text()), "123456");
    EXPECT_FALSE(target.isError());
}

TEST(DigitString, SubtractionAndComparison) {
    DigitString value = digits(u"1000");
    value.subtract(digits(u"1"));
    EXPECT_EQ(narrow(value.text()), "999");
    EXPECT_EQ(value.compare(digits(u"1000")), -1);
    EXPECT_EQ(value.compare(digits(u"998")), 1);
    EXPECT_EQ(value.compare(digits(u"999")), 0);
    value.subtract(digits(u"1000"));
    EXPECT_TRUE(value.isError()) << "a negative difference is undefined";
}

TEST(DigitString, ProductIsCheckedByItsRealLength) {
    // 21 and 22 digits make a 42-digit product: it fits 42 cells although the counts add up to 43.
    DigitString value(42);
    value = digits(u"200000000000000000000");
    value.multiply(digits(u"1000000000000000000000"));
    EXPECT_FALSE(value.isError());
    EXPECT_EQ(value.size(), 42u);
    value.multiply(digits(u"10"));
    EXPECT_TRUE(value.isError());
    DigitString square = digits(u"12");
    square.multiply(square);
    EXPECT_EQ(narrow(square.text()), "144");
}

TEST(DigitString, DivisionRoundsItsLastDigitHalfUp) {
    struct Case {
        const char16_t* dividend;
        const char16_t* divisor;
        const char* quotient;
    } cases[] = {
        {u"10", u"3", "3"},  {u"20", u"3", "7"},  {u"5", u"9", "1"},     {u"4", u"9", "0"},
        {u"6", u"10", "1"},  {u"4", u"10", "0"},  {u"0", u"7", "0"},     {u"144", u"12", "12"},
        {u"15", u"10", "2"}, {u"25", u"10", "3"}, {u"999", u"2", "500"},
    };
    for (const Case& c : cases) {
        DigitString value = digits(c.dividend);
        value.divideRounded(digits(c.divisor));
        EXPECT_EQ(narrow(value.text()), c.quotient)
            << narrow(std::u16string(c.dividend)) << " / " << narrow(std::u16string(c.divisor));
    }
    DigitString self = digits(u"37");
    self.divideRounded(self);
    EXPECT_EQ(narrow(self.text()), "1");
    DigitString byZero = digits(u"5");
    byZero.divideRounded(DigitString(3));
    EXPECT_TRUE(byZero.isError());
}

TEST(CalcDecimal, ReadsTheFormsTheDisplayHolds) {
    struct Case {
        const char16_t* text;
        const char* shown;
    } cases[] = {
        {u".5", "0.50"},      {u"-12.5", "-12.50"},
        {u"0.", "0.00"},      {u"", "0.00"},
        {u"12.345", "12.35"}, {u"-12.345", "-12.35"},
        {u"2.344", "2.34"},   {u"0.0000000000019", "0.00"},
        {u"007", "7.00"},     {u"999999999999999999", "999999999999999999.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(narrow(decimal(c.text).text(2)), c.shown) << narrow(std::u16string(c.text));
    CalcDecimal tooLong = decimal(u"1000000000000000000");
    EXPECT_TRUE(tooLong.isError()) << "19 integer digits need 31 digits with the scale";
    EXPECT_EQ(narrow(tooLong.text(2)), "Error");
}

TEST(CalcDecimal, RefusedTextLeavesTheValueAndNewTextClearsAnError) {
    CalcDecimal value = decimal(u"-4.25");
    EXPECT_FALSE(value.setText(u"Error"));
    EXPECT_FALSE(value.setText(u"1.2.3"));
    EXPECT_EQ(narrow(value.text(2)), "-4.25");
    value.divide(decimal(u"0"));
    ASSERT_TRUE(value.isError());
    EXPECT_TRUE(value.setText(u"3"));
    EXPECT_FALSE(value.isError());
    EXPECT_EQ(narrow(value.text(2)), "3.00");
}

TEST(CalcDecimal, TextRoundsHalfAwayFromZeroWithoutChangingTheValue) {
    CalcDecimal value = decimal(u"2.005");
    EXPECT_EQ(narrow(value.text(2)), "2.01");
    EXPECT_EQ(narrow(value.text(0)), "2");
    EXPECT_EQ(narrow(value.text(12)), "2.005000000000");
    value.multiply(decimal(u"1000"));
    EXPECT_EQ(narrow(value.text(2)), "2005.00") << "the shown rounding is not kept in the value";
    EXPECT_EQ(narrow(decimal(u"-0.005").text(2)), "-0.01");
    EXPECT_EQ(narrow(decimal(u"-0.004").text(2)), "-0.00") << "a negative value keeps its sign";
    EXPECT_EQ(narrow(decimal(u"999999999999999999.995").text(2)), "Error") << "rounding past 30 digits";
    EXPECT_EQ(narrow(decimal(u"999999999999999999.994").text(2)), "999999999999999999.99");
}

TEST(CalcDecimal, SignsOfSumsAndDifferences) {
    struct Case {
        const char16_t* a;
        char op;
        const char16_t* b;
        const char* result;
    } cases[] = {
        {u"5", '+', u"-3", "2.00"},
        {u"3", '+', u"-5", "-2.00"},
        {u"-5", '+', u"3", "-2.00"},
        {u"-3", '+', u"5", "2.00"},
        {u"-3", '+', u"-5", "-8.00"},
        {u"5", '-', u"-3", "8.00"},
        {u"-5", '-', u"3", "-8.00"},
        {u"-5", '-', u"-3", "-2.00"},
        {u"-3", '-', u"-5", "2.00"},
        {u"3", '-', u"5", "-2.00"},
        {u"5", '-', u"3", "2.00"},
        {u"-5", '+', u"5", "0.00"},
        {u"-5", '-', u"-5", "0.00"},
        {u"0", '*', u"-5", "0.00"},
        {u"0", '/', u"-5", "0.00"},
        {u"-2", '*', u"3", "-6.00"},
        {u"-2", '*', u"-3", "6.00"},
        {u"-2", '/', u"3", "-0.67"},
        {u"0.000001", '*', u"-0.0000001", "0.00"},
    };
    for (const Case& c : cases) {
        CalcDecimal a = decimal(c.a);
        CalcDecimal b = decimal(c.b);
        if (c.op == '+') a.add(b);
        if (c.op == '-') a.subtract(b);
        if (c.op == '*') a.multiply(b);
        if (c.op == '/') a.divide(b);
        EXPECT_EQ(narrow(a.text(2)), c.result)
            << narrow(std::u16string(c.a)) << c.op << narrow(std::u16string(c.b));
        EXPECT_FALSE(a.isZero() && a.isNegative()) << "a zero result carries no sign";
    }
}

TEST(CalcDecimal, ProductsTruncateAndQuotientsRoundAtTheTwelfthDecimal) {
    CalcDecimal product = decimal(u"0.000001");
    product.multiply(decimal(u"0.0000019"));
    EXPECT_EQ(narrow(product.text(12)), "0.000000000001") << "1.9e-12 truncates to 1e-12";
    CalcDecimal quotient = decimal(u"2");
    quotient.divide(decimal(u"3"));
    EXPECT_EQ(narrow(quotient.text(12)), "0.666666666667");
    CalcDecimal tiny = decimal(u"0.000000000006");
    tiny.divide(decimal(u"10"));
    EXPECT_EQ(narrow(tiny.text(12)), "0.000000000001") << "6e-13 rounds up to 1e-12";
}

TEST(CalcDecimal, ResultsPastThirtyDigitsAreErrors) {
    CalcDecimal big = decimal(u"999999999999999999");
    big.add(decimal(u"1"));
    EXPECT_TRUE(big.isError());
    CalcDecimal product = decimal(u"200000000");
    product.multiply(decimal(u"1000000000"));
    EXPECT_EQ(narrow(product.text(2)), "200000000000000000.00") << "a product that fits is no error";
    product.multiply(decimal(u"10"));
    EXPECT_TRUE(product.isError());
    CalcDecimal quotient = decimal(u"100000000000000000");
    quotient.divide(decimal(u"0.01"));
    EXPECT_TRUE(quotient.isError());
    CalcDecimal byZero = decimal(u"7");
    byZero.divide(decimal(u"0.000"));
    EXPECT_TRUE(byZero.isError());
    byZero.add(decimal(u"1"));
    EXPECT_TRUE(byZero.isError()) << "the error sticks";
}

}  // namespace
