// The date picker window: the locale's field order and the device's left and right keys moving
// cyclically between fields, month lengths and leap years when the month or year changes, typing
// through the picker, the arrow keys (a tap steps once, a held key repeats on the virtual clock),
// getDate clamping and setDate, the layout and colours on every screen profile, and creation
// failing on a rectangle that is too low.

#include <array>

#include "DatePickerFixture.h"

namespace {

using namespace std::chrono;
using controlstest::screenRect;
using datepickertest::PickerTest;
using platform::testing::advanceAndPump;
using platform::testing::pumpMessages;
using platform::testing::screenPixel;
using platform::testing::stylusDown;
using platform::testing::stylusUp;

constexpr UINT kDayUp = 3, kDayDown = 4, kMonthUp = 5, kMonthDown = 6, kYearUp = 7, kYearDown = 8;

struct OrderCase {
    const char* locale;
    std::array<UINT, 3> order;
};

class FieldOrder : public PickerTest, public ::testing::WithParamInterface<OrderCase> {
  protected:
    FieldOrder() : PickerTest(GetParam().locale) {}
};

TEST_P(FieldOrder, FieldsFollowTheLocaleAndArrowKeysMoveCyclically) {
    const std::array<UINT, 3>& order = GetParam().order;
    EXPECT_EQ(picker.order(), order);
    for (int i = 0; i < 2; ++i)
        EXPECT_LT(screenRect(fieldWindow(order[i])).right, screenRect(fieldWindow(order[i + 1])).left);
    EXPECT_EQ(focusedField(), kDayField) << "the picker hands its focus to the day field";
    SetFocus(fieldWindow(order[2]));
    deviceKey(VK_RIGHT);
    EXPECT_EQ(focusedField(), order[0]) << "right from the last field wraps to the first";
    deviceKey(VK_LEFT);
    EXPECT_EQ(focusedField(), order[2]) << "left from the first field wraps to the last";
    deviceKey(VK_LEFT);
    EXPECT_EQ(focusedField(), order[1]);
}

INSTANTIATE_TEST_SUITE_P(Locales, FieldOrder,
                         ::testing::Values(OrderCase{"ru_RU.UTF-8", {kDayField, kMonthField, kYearField}},
                                           OrderCase{"en_US.UTF-8", {kMonthField, kDayField, kYearField}},
                                           OrderCase{"sv_SE.UTF-8", {kYearField, kMonthField, kDayField}}),
                         [](const auto& info) { return std::string(info.param.locale).substr(0, 5); });

class Picker : public PickerTest {};

TEST_F(Picker, StartsOnTodayAndKeepsMonthLengthsAndLeapYears) {
    EXPECT_EQ(date(), 2026y / January / 1d) << "the virtual clock's today";
    struct Case {
        year_month_day start;
        UINT field;
        int value;
        year_month_day result;
    } cases[] = {
        {2008y / January / 31d, kMonthField, 2, 2008y / February / 29d},
        {2008y / February / 29d, kYearField, 2009, 2009y / February / 28d},
        {2010y / March / 31d, kMonthField, 4, 2010y / April / 30d},
        {2000y / February / 29d, kYearField, 1900 + 100, 2000y / February / 29d},
        {2004y / February / 29d, kYearField, 2005, 2005y / February / 28d},
        {2009y / February / 28d, kMonthField, 3, 2009y / March / 28d},
    };
    for (const Case& c : cases) {
        picker.setDate(datepickertest::fileTimeOf(c.start));
        pumpMessages();
        picker.field(c.field).setValue(c.value);
        pumpMessages();
        EXPECT_EQ(date(), c.result) << int(c.start.year()) << "-" << unsigned(c.start.month()) << "-"
                                    << unsigned(c.start.day());
    }
}

TEST_F(Picker, ArrowKeysWrapDayAndMonthWithinTheirLimits) {
    setDate(2026, 12, 15);
    tapArrow(kMonthUp);
    EXPECT_EQ(date(), 2026y / January / 15d) << "the year does not change";
    tapArrow(kMonthDown);
    EXPECT_EQ(date(), 2026y / December / 15d);
    setDate(2009, 2, 28);
    tapArrow(kDayUp);
    EXPECT_EQ(date(), 2009y / February / 1d) << "the day wraps at the month's length";
    tapArrow(kDayDown);
    EXPECT_EQ(date(), 2009y / February / 28d);
    setDate(2050, 5, 5);
    tapArrow(kYearUp);
    EXPECT_EQ(date(), 1970y / May / 5d);
    tapArrow(kYearDown);
    EXPECT_EQ(date(), 2050y / May / 5d);
    EXPECT_EQ(focusedField(), kYearField) << "a stepped field takes the focus";
    setDate(2026, 3, 31);
    SetFocus(fieldWindow(kMonthField));
    deviceKey(VK_UP);
    EXPECT_EQ(date(), 2026y / April / 30d) << "the device's up key steps the focused field";
    deviceKey(VK_DOWN);
    deviceKey(VK_DOWN);
    EXPECT_EQ(date(), 2026y / February / 28d);
}

TEST_F(Picker, HeldArrowKeyRepeatsOnTheClock) {
    setDate(2026, 6, 10);
    POINT p = controlstest::centreOf(picker.arrowKey(kDayUp)->window());
    stylusDown(p.x, p.y);
    pumpMessages();
    EXPECT_EQ(focusedField(), kDayField) << "pressing an arrow focuses its field";
    EXPECT_EQ(picker.field(kDayField).value(), 10) << "nothing steps before the repeat delay";
    advanceAndPump(DatePicker::kRepeatDelayMs - 1);
    EXPECT_EQ(picker.field(kDayField).value(), 10);
    advanceAndPump(1);
    EXPECT_EQ(picker.field(kDayField).value(), 11);
    for (int tick = 0; tick < 3; ++tick)
        advanceAndPump(DatePicker::kRepeatIntervalMs);
    EXPECT_EQ(picker.field(kDayField).value(), 14);
    stylusUp(p.x, p.y);
    pumpMessages();
    EXPECT_EQ(picker.field(kDayField).value(), 14) << "the release after a repeat adds no step";
    advanceAndPump(2000);
    EXPECT_EQ(picker.field(kDayField).value(), 14) << "the repeat ends with the release";
    tapArrow(kDayUp);
    EXPECT_EQ(picker.field(kDayField).value(), 15) << "a tap steps once";

    // Sliding off the key pauses the repeat; the release outside gives no click.
    stylusDown(p.x, p.y);
    pumpMessages();
    platform::testing::stylusMove(p.x, p.y + scaleY(60));
    advanceAndPump(DatePicker::kRepeatDelayMs);
    advanceAndPump(DatePicker::kRepeatIntervalMs);
    EXPECT_EQ(picker.field(kDayField).value(), 15);
    stylusUp(p.x, p.y + scaleY(60));
    pumpMessages();
    EXPECT_EQ(picker.field(kDayField).value(), 15);
    tapArrow(kDayDown);
    EXPECT_EQ(picker.field(kDayField).value(), 14) << "the next tap steps again";
}

TEST_F(Picker, TypingGoesToTheFocusedField) {
    setDate(2026, 6, 10);
    SetFocus(picker.window());
    type("4");
    EXPECT_EQ(picker.field(kDayField).value(), 4);
    type("2");
    EXPECT_EQ(picker.field(kDayField).value(), 2) << "after 4 the next digit starts anew";
    deviceKey(VK_RIGHT);
    type("11");
    EXPECT_EQ(picker.field(kMonthField).value(), 11);
    deviceKey(VK_RIGHT);
    type("20");
    EXPECT_EQ(picker.field(kYearField).value(), 20) << "a year on its way may lie below the minimum";
    EXPECT_EQ(date(), 1970y / November / 2d) << "getDate clamps a year left at 20 to 1970";
    EXPECT_EQ(picker.field(kYearField).value(), 1970) << "the clamped value is stored back";
    type("2012");
    EXPECT_EQ(date(), 2012y / November / 2d);
    type("B");
    EXPECT_EQ(picker.field(kYearField).value(), 201);
    SetFocus(nullptr);
    pumpMessages();
    EXPECT_EQ(picker.field(kYearField).value(), 1970) << "leaving the field clamps a year typed half-way";
    type("5");
    EXPECT_EQ(picker.field(kYearField).value(), 1970) << "without a focused field characters are ignored";
}

TEST_F(Picker, AYearTypedHalfWayNeverPairsWithTheTwentyNinthOfFebruary) {
    setDate(2008, 2, 29);
    SetFocus(fieldWindow(kYearField));
    type("20");  // year 20 is a leap year of the calendar: the day keeps 29 while typing
    EXPECT_EQ(picker.field(kDayField).value(), 29);
    EXPECT_EQ(date(), 1970y / February / 28d) << "the date handed out is a real one";
    EXPECT_EQ(picker.year(), 1970);
}

TEST_F(Picker, SetDateReturnsTheDateHeldBefore) {
    setDate(2010, 3, 5);
    FILETIME previous = picker.setDate(datepickertest::fileTimeOf(2012, 12, 31));
    EXPECT_EQ(datepickertest::dateOf(previous), 2010y / March / 5d);
    EXPECT_EQ(date(), 2012y / December / 31d) << "read at once, before the fields' notifications";
    previous = picker.setDate(datepickertest::fileTimeOf(1965, 7, 4));
    EXPECT_EQ(datepickertest::dateOf(previous), 2012y / December / 31d);
    EXPECT_EQ(date(), 1970y / July / 4d) << "a year before the minimum is clamped when read";
    EXPECT_EQ(picker.day(), 4);
    EXPECT_EQ(picker.month(), 7);
}

TEST_F(Picker, FocusedFieldShowsTheFocusColours) {
    RECT day = screenRect(fieldWindow(kDayField));
    RECT month = screenRect(fieldWindow(kMonthField));
    EXPECT_EQ(screenPixel(day.left + 1, day.bottom - 2), DateField::kFocusBackground);
    EXPECT_EQ(screenPixel(month.left + 1, month.bottom - 2), DatePicker::kBackground);
    platform::testing::tap((month.left + month.right) / 2, (month.top + month.bottom) / 2);
    pumpMessages();
    EXPECT_EQ(focusedField(), kMonthField) << "a tap focuses the field";
    EXPECT_EQ(screenPixel(month.left + 1, month.bottom - 2), DateField::kFocusBackground);
    EXPECT_EQ(screenPixel(day.left + 1, day.bottom - 2), DatePicker::kBackground);
    picker.setBackground(RGB(200, 210, 220));
    pumpMessages();
    EXPECT_EQ(screenPixel(day.left + 1, day.bottom - 2), RGB(200, 210, 220));
    EXPECT_EQ(screenPixel(2, screenRect(picker.window()).bottom - 2), RGB(200, 210, 220));
    EXPECT_EQ(SendMessageW(fieldWindow(kDayField), WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

class PickerLayout : public PickerTest, public ::testing::WithParamInterface<controlstest::Profile> {
  protected:
    PickerLayout() : PickerTest("ru_RU.UTF-8", GetParam()) {}
};

TEST_P(PickerLayout, FieldsCentredWithArrowsAboveAndBelow) {
    RECT area = screenRect(picker.window());
    int width = area.right - area.left, height = area.bottom - area.top;
    int total = scaleX(42 + 42 + 50 + 2 * 38);
    int left = area.left + (width - total) / 2, top = area.top + (height - scaleY(20)) / 2;
    const int widths[3] = {42, 42, 50};
    SIZE arrow = screenMetrics().highResolution ? SIZE{82, 42} : SIZE{41, 21};
    for (UINT id : picker.order()) {
        RECT field = screenRect(fieldWindow(id));
        EXPECT_EQ(field, (RECT{left, top, left + scaleX(widths[id]), top + scaleY(20)})) << id;
        RECT up = screenRect(picker.arrowKey(3 + 2 * id)->window());
        RECT down = screenRect(picker.arrowKey(4 + 2 * id)->window());
        int arrowLeft = field.left + (field.right - field.left - arrow.cx) / 2;
        EXPECT_EQ(up, (RECT{arrowLeft, field.top - scaleY(8) - arrow.cy, arrowLeft + arrow.cx,
                            field.top - scaleY(8)}));
        EXPECT_EQ(down, (RECT{arrowLeft, field.bottom + scaleY(8), arrowLeft + arrow.cx,
                              field.bottom + scaleY(8) + arrow.cy}));
        // The white around the arrow is left out: the picker's background shows in the corner.
        EXPECT_EQ(screenPixel(up.left, up.top), DatePicker::kBackground);
        EXPECT_NE(screenPixel((up.left + up.right) / 2, (up.top + up.bottom) / 2), DatePicker::kBackground);
        left = field.right + scaleX(38);
    }
    RECT caption = screenRect(picker.caption().window());
    EXPECT_EQ(caption, (RECT{area.left + scaleX(2), area.top, area.right, area.top + scaleY(16)}));
    EXPECT_EQ(screenPixel(area.right - 2, area.bottom - 2), DatePicker::kBackground);
}

INSTANTIATE_TEST_SUITE_P(Profiles, PickerLayout, ::testing::ValuesIn(controlstest::kProfiles),
                         controlstest::profileName);

TEST(DatePickerCreation, FailsOnARectangleLowerThanTheFieldsAndArrowRows) {
    platform::testing::WindowTestScope scope;
    setScreenMetrics(96, 96, 240, 320);
    HINSTANCE module = GetModuleHandleW(nullptr);
    ASSERT_TRUE(platform::registerModuleResources(module, dashelResourceTable()));
    datepickertest::Page page;
    ASSERT_NE(page.create(0, u"page", WS_VISIBLE, RECT{0, 0, 240, 320}, nullptr, 0), nullptr);
    DatePicker low;
    EXPECT_FALSE(low.create(page.window(), RECT{0, 0, 240, 67}));
    EXPECT_EQ(low.window(), nullptr);
    DatePicker enough;
    EXPECT_TRUE(enough.create(page.window(), RECT{0, 0, 240, 68}));
    DatePicker withoutImages;
    EXPECT_FALSE(
        withoutImages.create(page.window(), RECT{0, 100, 240, 200}, reinterpret_cast<HINSTANCE>(0x5150)));
    enough.destroy();
    page.destroy();
    platform::unregisterModuleResources(module);
}

}  // namespace
