// The home screen tests' fixture: a fresh device root with the built Today item library installed
// under "\windows" and registered through its own RegisterTodayItem, the headless screen on the
// virtual clock, and a home screen in the test's process.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "HomeScreen.h"
#include "TempRoot.h"
#include "UserTesting.h"

namespace hometest {

class HomeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the built library into the root as "\windows\BrimwellTodayItem.dll" and calls its
    // RegisterTodayItem.
    void installItem();
    // Creates the home screen (reports kept in m_reports).
    void openHome();
    // The one hosted item's window (asserts there is one).
    HWND itemWindow() const;
    // The screen pixel at a point of the item window's client area.
    COLORREF itemPixel(int x, int y) const;
    RECT itemClient() const;
    std::string itemLog() const;
    static std::optional<DWORD> todayFailed();
    static bool registered();

    std::optional<platform::testing::TempRoot> m_root;
    std::optional<platform::testing::WindowTestScope> m_screen;
    std::optional<todayscreen::HomeScreen> m_home;
    std::vector<std::string> m_reports;
};

// The names of registered window classes whose procedure lies in no loaded module.
std::vector<std::string> classesWithoutCode();

}  // namespace hometest
