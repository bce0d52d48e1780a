// The date picker against the C++ calendar: random sequences of arrow-key clicks, the device's arrow
// keys, typed digits and backspace, moves between fields and set dates, in day-month-year,
// month-day-year and year-month-day locales. A model keeps the three fields by the picker's rules,
// with every month length and leap year taken from std::chrono; after each step the picker's fields
// and focus must match the model, and whenever the date is read it must be a valid calendar date
// equal to the model's, as a file time counted by std::chrono.

#include <random>
#include <sstream>

#include "DatePickerFixture.h"

namespace {

using namespace std::chrono;
using datepickertest::PickerTest;
using platform::testing::pumpMessages;

// One field of the model.
struct ModelField {
    int value;
    int minimum;
    int maximum;
    int width;
    int typed = 0;
    bool replace = true;

    void set(int v) {
        value = v;
        replace = true;
    }
    bool clampIntoLimits() {
        int clamped = std::clamp(value, minimum, maximum);
        if (clamped == value) return false;
        set(clamped);
        return true;
    }
    void type(int d) {
        int candidate = (replace ? 0 : value) * 10 + d;
        if (!replace && candidate == 0 && typed == width - 1) return;
        if (candidate > maximum) {
            set(maximum);
        } else {
            value = candidate;
            if (replace) replace = false, typed = 0;
            if (candidate * 10 > maximum && candidate >= minimum) replace = true;
        }
        if (++typed >= width) replace = true, value = std::max(value, minimum);
    }
    void backspace() {
        if (value == 0) return;
        replace = false;
        typed = std::max(typed - 1, 0);
        value /= 10;
    }
};

// The length of a month by the C++ calendar; 0 outside 1..12.
int monthLength(int m, int y) {
    if (m < 1 || m > 12) return 0;
    return static_cast<int>(unsigned((year(y) / month(static_cast<unsigned>(m)) / last).day()));
}

class Model {
  public:
    Model(const std::array<UINT, 3>& order, year_month_day today) : m_order(order) {
        fields[kDayField] = {static_cast<int>(unsigned(today.day())), 1, 31, 2};
        fields[kMonthField] = {static_cast<int>(unsigned(today.month())), 1, 12, 2};
        fields[kYearField] = {static_cast<int>(today.year()), DatePicker::kMinimumYear,
                              DatePicker::kMaximumYear, 4};
        followDayLimit();
    }

    void focus(UINT id) {
        if (m_focus == id) return;
        if (m_focus < 3) {
            fields[m_focus].clampIntoLimits();
            fields[m_focus].replace = true;
        }
        m_focus = id;
        fields[id].replace = true;
    }
    UINT focused() const { return m_focus; }
    void move(int direction) {
        if (m_focus > 2) return;
        size_t at = static_cast<size_t>(std::find(m_order.begin(), m_order.end(), m_focus) - m_order.begin());
        focus(m_order[(at + 3 + static_cast<size_t>(direction)) % 3]);
    }
    void step(UINT id, bool up) {
        focus(id);
        ModelField& f = fields[id];
        if (up)
            f.set(f.value + 1 > f.maximum ? f.minimum : f.value + 1);
        else
            f.set(f.value - 1 < f.minimum ? f.maximum : f.value - 1);
    }
    void type(int d) {
        if (m_focus < 3) fields[m_focus].type(d);
    }
    void backspace() {
        if (m_focus < 3) fields[m_focus].backspace();
    }
    void setDate(year_month_day date) {
        fields[kDayField].set(static_cast<int>(unsigned(date.day())));
        fields[kMonthField].set(static_cast<int>(unsigned(date.month())));
        fields[kYearField].set(static_cast<int>(date.year()));
    }
    // The day's limit follows the month and year held, as the picker's notifications make it.
    void followDayLimit() {
        int days = monthLength(fields[kMonthField].value, fields[kYearField].value);
        if (days == 0) return;
        ModelField& day = fields[kDayField];
        day.maximum = days;
        if (day.value > days) day.set(days);
    }
    // The date read out: each field clamped (and kept), the day within the clamped month and year.
    year_month_day read() {
        fields[kYearField].clampIntoLimits();
        fields[kMonthField].clampIntoLimits();
        ModelField& day = fields[kDayField];
        day.maximum = monthLength(fields[kMonthField].value, fields[kYearField].value);
        if (day.value > day.maximum) day.set(day.maximum);
        day.clampIntoLimits();
        return year(fields[kYearField].value) / month(static_cast<unsigned>(fields[kMonthField].value)) /
               day_of(day.value);
    }

    std::array<ModelField, 3> fields{};

  private:
    static std::chrono::day day_of(int d) { return std::chrono::day(static_cast<unsigned>(d)); }

    std::array<UINT, 3> m_order;
    UINT m_focus = kDayField;
};

class CalendarRun : public PickerTest, public ::testing::WithParamInterface<const char*> {
  protected:
    CalendarRun() : PickerTest(GetParam()) {}

    // One random step on both sides; its description is appended to log.
    void randomStep(std::mt19937& random, Model& model, std::ostringstream& log) {
        int choice = std::uniform_int_distribution<int>(0, 99)(random);
        if (choice < 45) {
            int d = std::uniform_int_distribution<int>(0, 9)(random);
            log << d;
            SendMessageW(picker.window(), WM_CHAR, static_cast<WPARAM>('0' + d), 0);
            model.type(d);
        } else if (choice < 50) {
            log << "B";
            SendMessageW(picker.window(), WM_CHAR, 8, 0);
            model.backspace();
        } else if (choice < 70) {
            UINT key = static_cast<UINT>(std::uniform_int_distribution<int>(3, 8)(random));
            log << " key" << key << " ";
            // A click as an arrow key sends it: pressed, released, clicked.
            PostMessageW(picker.window(), WM_USER + 9, key, 0);
            PostMessageW(picker.window(), WM_USER + 10, key, 0);
            PostMessageW(picker.window(), WM_USER + 8, key, 0);
            model.step((key - 3) / 2, (key - 3) % 2 == 0);
        } else if (choice < 80) {
            bool up = choice < 75;
            log << (up ? " UP " : " DOWN ");
            SendMessageW(GetFocus(), WM_KEYUP, up ? VK_UP : VK_DOWN, 0);
            if (model.focused() < 3) model.step(model.focused(), up);
        } else if (choice < 90) {
            bool left = choice < 85;
            log << (left ? " LEFT " : " RIGHT ");
            SendMessageW(GetFocus(), WM_KEYUP, left ? VK_LEFT : VK_RIGHT, 0);
            model.move(left ? -1 : 1);
        } else {
            year_month_day date = randomDate(random);
            log << " set " << int(date.year()) << "-" << unsigned(date.month()) << "-" << unsigned(date.day())
                << " ";
            picker.setDate(datepickertest::fileTimeOf(date));
            model.setDate(date);
        }
        pumpMessages();
        model.followDayLimit();
    }

    static year_month_day randomDate(std::mt19937& random) {
        // Around the limits and the leap days now and then.
        int y = std::uniform_int_distribution<int>(1960, 2060)(random);
        unsigned m = static_cast<unsigned>(std::uniform_int_distribution<int>(1, 12)(random));
        unsigned last = unsigned((year(y) / month(m) / std::chrono::last).day());
        unsigned d =
            static_cast<unsigned>(std::uniform_int_distribution<int>(1, static_cast<int>(last))(random));
        return year(y) / month(m) / day(d);
    }

    ::testing::AssertionResult sameFields(const Model& model) {
        for (UINT id : {kDayField, kMonthField, kYearField}) {
            if (picker.field(id).value() != model.fields[id].value)
                return ::testing::AssertionFailure()
                       << "field " << id << " holds " << picker.field(id).value() << ", model "
                       << model.fields[id].value;
        }
        if (focusedField() != model.focused())
            return ::testing::AssertionFailure()
                   << "focus on " << focusedField() << ", model " << model.focused();
        return ::testing::AssertionSuccess();
    }
};

TEST_P(CalendarRun, RandomSequencesAlwaysGiveTheCalendarsDate) {
    constexpr unsigned kBaseSeed = 7000;
    constexpr int kSequences = 300;
    constexpr int kSteps = 40;
    for (int i = 0; i < kSequences && !HasFailure(); ++i) {
        unsigned seed = kBaseSeed + static_cast<unsigned>(i);
        std::mt19937 random(seed);
        SetFocus(picker.field(kDayField).window());
        picker.setDate(datepickertest::fileTimeOf(2026, 1, 1));
        pumpMessages();
        Model model(picker.order(), 2026y / January / 1d);
        std::ostringstream log;
        for (int s = 0; s < kSteps && !HasFailure(); ++s) {
            randomStep(random, model, log);
            ASSERT_TRUE(sameFields(model)) << "seed " << seed << ", steps: " << log.str();
            if (std::uniform_int_distribution<int>(0, 3)(random) != 0 && s != kSteps - 1) continue;
            FILETIME read = picker.getDate();
            year_month_day expected = model.read();
            ASSERT_TRUE(expected.ok()) << "seed " << seed;
            year_month_day got = datepickertest::dateOf(read);
            ASSERT_TRUE(got == expected)
                << "seed " << seed << ", steps: " << log.str() << "; picker " << int(got.year()) << "-"
                << unsigned(got.month()) << "-" << unsigned(got.day()) << ", calendar "
                << int(expected.year()) << "-" << unsigned(expected.month()) << "-"
                << unsigned(expected.day());
            ASSERT_EQ(read.dwLowDateTime, datepickertest::fileTimeOf(expected).dwLowDateTime);
            ASSERT_EQ(read.dwHighDateTime, datepickertest::fileTimeOf(expected).dwHighDateTime);
            ASSERT_TRUE(sameFields(model)) << "after reading, seed " << seed << ", steps: " << log.str();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, CalendarRun, ::testing::Values("ru_RU.UTF-8", "en_US.UTF-8", "sv_SE.UTF-8"),
                         [](const auto& info) { return std::string(info.param).substr(0, 5); });

}  // namespace
