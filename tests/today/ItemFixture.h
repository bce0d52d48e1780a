// The Today item tests' fixture: a fresh device root, the headless screen on the virtual clock, and a
// stand-in home screen window that answers the item's text-colour and watermark requests and keeps
// the item record, so that the item runs in the test's process as a home screen would host it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TempRoot.h"
#include "TodayItem.h"
#include "TodaySeed.h"
#include "UserTesting.h"

namespace todaytest {

// The stand-in home screen's colours.
inline constexpr COLORREF kHomeTextColour = RGB(200, 0, 0);
inline constexpr COLORREF kHomeWatermark = RGB(0, 160, 0);

class ItemTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the device root with a fresh one (the store of the old one closed first).
    void freshRoot();
    // Initialises the item through its guarded entry, as ordinal 240 does, under the home window.
    HWND initialize();
    // Initialises the item, asks for its height and places it below a 20-pixel header, full width.
    HWND showItem();
    // Sends a home-screen message to the item window.
    LRESULT send(UINT message, WPARAM wParam = 0);
    LRESULT queryRefresh() { return send(WM_TODAYCUSTOM_QUERYREFRESHCACHE); }
    today::TodayItem& item();
    // The item window's client rectangle in screen pixels.
    RECT itemOnScreen() const;

    // The option key's number value; nullopt when missing.
    static std::optional<DWORD> option(const WCHAR* name);
    static void setOption(const WCHAR* name, DWORD value);
    static bool registrationExists();
    // The item's diagnostic log as UTF-8 text (empty when it was never written).
    std::string itemLog() const;
    // Writes an executable file under the root's windows folder and returns its device path.
    std::u16string installScript(const std::string& name, const std::string& body) const;
    // Writes a program location key's default value.
    static void setInstallPath(const WCHAR* key, const std::u16string& path);
    // Installs the finance manager's starter stand-in, which logs its command lines to starterLog().
    void installStarter() const;
    std::string starterLog() const { return m_root->path() + "/starter.log"; }

    std::optional<platform::testing::TempRoot> m_root;
    std::optional<platform::testing::WindowTestScope> m_screen;
    HWND m_home = nullptr;
    TODAYLISTITEM m_record{};
};

// Waits (up to a few seconds of wall clock, for another process) until the file holds text.
bool waitForText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);

}  // namespace todaytest
