// The date picker tests' fixture: a headless screen on the virtual clock (2026-01-01), the program's
// resources, a chosen user locale, and a picker on a parent page, with helpers to reach its fields,
// keys and dates.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "../ControlWindows.h"
#include "DatePicker.h"
#include "ScreenMetrics.h"
#include "UserTesting.h"
#include "WindowObject.h"
#include "platform/resources.h"
#include "platform/winnls.h"
#include "resources/DashelResources.h"

namespace datepickertest {

// The file time of a calendar date at midnight, through the C++ calendar.
inline FILETIME fileTimeOf(std::chrono::year_month_day date) {
    using namespace std::chrono;
    constexpr long long kTicksPerDay = 864000000000LL;
    long long days = (sys_days(date) - sys_days(year(1601) / January / 1)).count();
    unsigned long long ticks = static_cast<unsigned long long>(days * kTicksPerDay);
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

// The calendar date of a file time, through the C++ calendar; the time of day must be midnight.
inline std::chrono::year_month_day dateOf(const FILETIME& time) {
    using namespace std::chrono;
    constexpr long long kTicksPerDay = 864000000000LL;
    unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    EXPECT_EQ(ticks % kTicksPerDay, 0u) << "a date at midnight";
    return year_month_day(sys_days(year(1601) / January / 1) +
                          days(static_cast<long long>(ticks / kTicksPerDay)));
}

inline FILETIME fileTimeOf(int y, unsigned m, unsigned d) {
    return fileTimeOf(std::chrono::year(y) / std::chrono::month(m) / std::chrono::day(d));
}

class Page : public WindowObject {};

class PickerTest : public ::testing::Test {
  protected:
    explicit PickerTest(const char* locale = "ru_RU.UTF-8", controlstest::Profile profile = {240, 320, 96})
        : m_scope(profile.width, profile.height, profile.dpi), m_locale(locale) {}

    void SetUp() override {
        initScreenMetrics();
        ASSERT_TRUE(platform::setUserLocale(m_locale))
            << m_locale << " must be installed (scripts/install-deps)";
        m_module = GetModuleHandleW(nullptr);
        ASSERT_TRUE(platform::registerModuleResources(m_module, dashelResourceTable()));
        RECT screen{0, 0, screenMetrics().screenWidth, screenMetrics().screenHeight};
        ASSERT_NE(page.create(0, u"page", WS_VISIBLE, screen, nullptr, 0), nullptr);
        ASSERT_TRUE(picker.create(page.window(), pickerRect()));
        SetFocus(picker.window());
        platform::testing::pumpMessages();
    }
    void TearDown() override {
        picker.destroy();
        page.destroy();
        releaseSharedFonts();
        platform::unregisterModuleResources(m_module);
        platform::setUserLocale("");
    }

    RECT pickerRect() const { return RECT{0, scaleY(20), scaleX(240), scaleY(20) + scaleY(131)}; }
    HWND fieldWindow(UINT id) { return picker.field(id).window(); }
    UINT focusedField() {
        for (UINT id : {kDayField, kMonthField, kYearField})
            if (GetFocus() == fieldWindow(id)) return id;
        return 99;
    }
    // A character typed into the picker (as the entry form forwards the keypad's keys).
    void type(const std::string& characters) {
        for (char c : characters)
            SendMessageW(picker.window(), WM_CHAR, static_cast<WPARAM>(c == 'B' ? 8 : c), 0);
        platform::testing::pumpMessages();
    }
    // A device key released on the focused field.
    void deviceKey(UINT key) {
        SendMessageW(GetFocus(), WM_KEYUP, key, 0);
        platform::testing::pumpMessages();
    }
    void tapArrow(UINT keyId) {
        POINT p = controlstest::centreOf(picker.arrowKey(keyId)->window());
        platform::testing::tap(p.x, p.y);
        platform::testing::pumpMessages();
    }
    void setDate(int y, unsigned m, unsigned d) {
        picker.setDate(fileTimeOf(y, m, d));
        platform::testing::pumpMessages();
    }
    std::chrono::year_month_day date() { return dateOf(picker.getDate()); }

    platform::testing::WindowTestScope m_scope;
    std::string m_locale;
    HINSTANCE m_module = nullptr;
    Page page;
    DatePicker picker;
};

}  // namespace datepickertest
