// One date field's rules as tables: typing digit by digit in day, month and year fields (starting
// anew, capping at the maximum, raising a completed year to the minimum, refusing a field of zeros),
// backspace, stepping with wrap-around, limits that move the value, and the clamp.

#include <gtest/gtest.h>

#include <string>

#include "DateFieldState.h"

namespace {

DateFieldState dayField(int value = 15) {
    return DateFieldState(1, 31, 2, value);
}
DateFieldState monthField(int value = 6) {
    return DateFieldState(1, 12, 2, value);
}
DateFieldState yearField(int value = 2026) {
    return DateFieldState(1970, 2050, 4, value);
}

// Types the digits of keys ("B" is backspace) into a fresh entry of the field.
int typed(DateFieldState field, const std::string& keys) {
    field.startEntry();
    for (char k : keys) {
        if (k == 'B')
            field.backspace();
        else
            field.typeDigit(k - '0');
    }
    return field.value();
}

struct Typing {
    const char* keys;
    int value;
};

TEST(DateFieldState, TypingADay) {
    const Typing cases[] = {
        {"4", 4}, {"45", 5}, {"35", 31}, {"005", 5}, {"31", 31}, {"29", 29}, {"3", 3},
        {"0", 0}, {"09", 9}, {"12", 12}, {"123", 3}, {"4B", 0},  {"31B", 3}, {"314", 4},
    };
    for (const Typing& c : cases)
        EXPECT_EQ(typed(dayField(), c.keys), c.value) << "day keys " << c.keys;
}

TEST(DateFieldState, TypingAMonth) {
    const Typing cases[] = {
        {"1", 1}, {"12", 12}, {"13", 12}, {"2", 2}, {"25", 5}, {"01", 1}, {"0", 0}, {"00", 0}, {"10", 10},
    };
    for (const Typing& c : cases)
        EXPECT_EQ(typed(monthField(), c.keys), c.value) << "month keys " << c.keys;
}

TEST(DateFieldState, TypingAYear) {
    const Typing cases[] = {
        {"2006", 2006}, {"1950", 1970}, {"3000", 2050},   {"2100", 2050}, {"20", 20},
        {"2", 2},       {"2010", 2010}, {"0000", 0},      {"2049", 2049}, {"2050", 2050},
        {"20065", 5},   {"2006B", 200}, {"2006B7", 2007}, {"1999", 1999}, {"0001", 1970},
    };
    for (const Typing& c : cases)
        EXPECT_EQ(typed(yearField(), c.keys), c.value) << "year keys " << c.keys;
}

TEST(DateFieldState, AFieldOfZerosIsRefusedAndAFullFieldStartsAnew) {
    DateFieldState day = dayField();
    day.startEntry();
    EXPECT_TRUE(day.typeDigit(0));
    EXPECT_FALSE(day.typeDigit(0)) << "a second zero would complete the day with zeros";
    EXPECT_TRUE(day.typeDigit(5));
    EXPECT_TRUE(day.replaceNext()) << "two digits complete the day";
    DateFieldState year = yearField();
    year.startEntry();
    for (int d : {1, 9, 5, 0})
        year.typeDigit(d);
    EXPECT_EQ(year.value(), 1970);
    EXPECT_TRUE(year.replaceNext());
    EXPECT_FALSE(yearField(0).backspace()) << "nothing to drop from zero";
}

TEST(DateFieldState, StepsWrapAround) {
    struct Step {
        DateFieldState field;
        bool up;
        int value;
    } cases[] = {
        {monthField(12), true, 1}, {monthField(1), false, 12},     {dayField(31), true, 1},
        {dayField(1), false, 31},  {yearField(2050), true, 1970},  {yearField(1970), false, 2050},
        {monthField(6), true, 7},  {yearField(2026), false, 2025},
    };
    for (Step& c : cases) {
        if (c.up)
            c.field.increment();
        else
            c.field.decrement();
        EXPECT_EQ(c.field.value(), c.value);
        EXPECT_TRUE(c.field.replaceNext());
    }
}

TEST(DateFieldState, LimitsMoveTheValueAndClampKeepsAValueInRange) {
    DateFieldState day = dayField(31);
    EXPECT_TRUE(day.setMaximum(30));
    EXPECT_EQ(day.value(), 30);
    EXPECT_FALSE(day.setMaximum(31));
    EXPECT_EQ(day.value(), 30) << "a raised limit leaves the value";
    EXPECT_TRUE(day.setMinimum(31));
    EXPECT_EQ(day.value(), 31);

    DateFieldState year = yearField();
    year.startEntry();
    year.typeDigit(2);
    year.typeDigit(0);
    EXPECT_EQ(year.clampedValue(), 1970);
    EXPECT_EQ(year.value(), 20) << "clampedValue only reads";
    EXPECT_TRUE(year.clamp());
    EXPECT_EQ(year.value(), 1970);

    DateFieldState typing = yearField();
    typing.startEntry();
    typing.typeDigit(2);
    typing.typeDigit(0);
    typing.typeDigit(1);
    typing.typeDigit(0);
    EXPECT_FALSE(typing.clamp());
    DateFieldState partial = dayField();
    partial.startEntry();
    partial.typeDigit(1);
    EXPECT_FALSE(partial.clamp());
    EXPECT_FALSE(partial.replaceNext()) << "a value in range keeps its entry going";
    partial.typeDigit(2);
    EXPECT_EQ(partial.value(), 12);
}

}  // namespace
