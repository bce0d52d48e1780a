// The shell calls: full-screen state and the work area, the input panel and its information,
// dialog sizing and menu bars read from menu resources.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../../../platform/display/Screen.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen>& seen() {
    static std::vector<Seen> all;
    return all;
}

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen().push_back({message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class Shell : public ::testing::Test {
  protected:
    void SetUp() override {
        seen().clear();
        WNDCLASSW cls{};
        cls.lpfnWndProc = recordingProc;
        cls.lpszClassName = u"ShellTestWnd";
        RegisterClassW(&cls);
        m_window = CreateWindowExW(0, u"ShellTestWnd", u"shell", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr);
        SHSipPreference(m_window, SIP_FORCEDOWN);
        platform::testing::pumpMessages();
        seen().clear();
    }

    size_t countOf(UINT message, WPARAM wParam) const {
        size_t n = 0;
        for (const Seen& s : seen())
            n += s.message == message && s.wParam == wParam;
        return n;
    }

    platform::testing::WindowTestScope m_scope;
    HWND m_window = nullptr;
};

TEST_F(Shell, FullScreenChangesTheWorkArea) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(sameRect(area, RECT{0, 26, 240, 294}));
    ASSERT_TRUE(SHFullScreen(m_window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(sameRect(area, RECT{0, 0, 240, 320}));
    ASSERT_TRUE(SHFullScreen(m_window, SHFS_SHOWSIPBUTTON));
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(sameRect(area, RECT{0, 0, 240, 294}));
    ASSERT_TRUE(SHFullScreen(m_window, SHFS_SHOWTASKBAR));
    EXPECT_TRUE(platform::Screen::instance().taskBarShown());

    EXPECT_FALSE(SHFullScreen(m_window, SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHFullScreen(reinterpret_cast<HWND>(0x7777000), SHFS_HIDETASKBAR));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(platform::Screen::instance().taskBarShown()) << "a failed call changes nothing";
}

TEST_F(Shell, InputPanelInformationFollowsThePanel) {
    SIPINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
    EXPECT_TRUE(sameRect(info.rcVisibleDesktop, RECT{0, 26, 240, 320}));
    EXPECT_TRUE(sameRect(info.rcSipRect, RECT{0, 214, 240, 294}));

    ASSERT_TRUE(SHSipPreference(m_window, SIP_UP));
    EXPECT_EQ(countOf(WM_SETTINGCHANGE, SPI_SETSIPINFO), 1u);
    ASSERT_TRUE(SHSipPreference(m_window, SIP_UP));
    EXPECT_EQ(countOf(WM_SETTINGCHANGE, SPI_SETSIPINFO), 1u) << "no change, no announcement";
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, static_cast<DWORD>(SIPF_ON));
    EXPECT_TRUE(sameRect(info.rcVisibleDesktop, RECT{0, 26, 240, 214}));

    ASSERT_TRUE(SHSipPreference(m_window, SIP_UNCHANGED));
    info.fdwFlags = SIPF_OFF;
    ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
    EXPECT_EQ(countOf(WM_SETTINGCHANGE, SPI_SETSIPINFO), 2u);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);

    info.cbSize = 8;
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, nullptr, 0));
    EXPECT_FALSE(SHSipPreference(nullptr, SIP_UP));
}

TEST_F(Shell, InitDialogSizesToTheWorkArea) {
    struct Case {
        DWORD flags;
        bool panelUp;
        RECT expected;
    };
    const Case cases[] = {
        {SHIDIF_SIZEDLGFULLSCREEN, false, {0, 26, 240, 294}},
        {SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR, false, {0, 26, 240, 320}},
        {SHIDIF_SIZEDLG, true, {0, 26, 240, 214}},
        {SHIDIF_SIZEDLG | SHIDIF_SIPDOWN, true, {0, 26, 240, 294}},
        {SHIDIF_DONEBUTTON, false, {10, 10, 110, 110}},
    };
    for (const Case& c : cases) {
        MoveWindow(m_window, 10, 10, 100, 100, FALSE);
        SHSipPreference(m_window, c.panelUp ? SIP_UP : SIP_FORCEDOWN);
        SHINITDLGINFO info{SHIDIM_FLAGS, m_window, c.flags};
        ASSERT_TRUE(SHInitDialog(&info));
        RECT rect;
        GetWindowRect(m_window, &rect);
        EXPECT_TRUE(sameRect(rect, c.expected))
            << c.flags << ": " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    }
    SHINITDLGINFO missing{SHIDIM_FLAGS, nullptr, SHIDIF_SIZEDLG};
    EXPECT_FALSE(SHInitDialog(&missing));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

// A menu resource in the device's layout: header, then items (flags, id unless a pop-up, text).
std::vector<WORD> menuResource() {
    std::vector<WORD> words{0, 0};
    auto item = [&](WORD flags, WORD id, const std::u16string& text, bool popup) {
        words.push_back(flags);
        if (!popup) words.push_back(id);
        words.insert(words.end(), text.begin(), text.end());
        words.push_back(0);
    };
    item(0, 301, u"Настройки", false);
    item(0x10, 0, u"Меню", true);
    item(0x80, 311, u"Один", false);
    item(0x80, 302, u"Закрыть", false);
    return words;
}

// A resource's bytes need not lie on a word boundary, and a damaged one may nest pop-ups without end.
TEST_F(Shell, MenuBarReadsAMenuAtAnOddAddressAndRefusesEndlessNesting) {
    std::vector<WORD> menu = menuResource();
    std::vector<BYTE> odd(menu.size() * 2 + 1);
    std::memcpy(odd.data() + 1, menu.data(), menu.size() * 2);
    std::vector<WORD> nested{0, 0};
    for (int i = 0; i < 100000; ++i)
        nested.insert(nested.end(), {0x10, u'x', 0});
    const platform::ResourceEntry entries[] = {
        {{4, nullptr}, {171, nullptr}, odd.data() + 1, DWORD(menu.size() * 2)},
        {{4, nullptr},
         {172, nullptr},
         reinterpret_cast<const BYTE*>(nested.data()),
         DWORD(nested.size() * 2)},
    };
    HINSTANCE module = GetModuleHandleW(nullptr);
    ASSERT_TRUE(platform::registerModuleResources(module, {entries, 2}));
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = m_window;
    bar.nToolBarId = 171;
    bar.hInstRes = module;
    ASSERT_TRUE(SHCreateMenuBar(&bar));
    platform::testing::pumpMessages();
    seen().clear();
    platform::testing::tap(2, 300);
    platform::testing::pumpMessages();
    EXPECT_EQ(countOf(WM_COMMAND, 301), 1u);
    DestroyWindow(bar.hwndMB);
    bar.nToolBarId = 172;
    EXPECT_FALSE(SHCreateMenuBar(&bar));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    platform::unregisterModuleResources(module);
}

TEST_F(Shell, MenuBarShowsTheMenusItemsAndSendsTheirCommands) {
    static std::vector<WORD> menu = menuResource();
    static std::vector<WORD> damaged(menu.begin(), menu.begin() + 6);
    static const platform::ResourceEntry entries[] = {
        {{4, nullptr}, {161, nullptr}, reinterpret_cast<const BYTE*>(menu.data()), DWORD(menu.size() * 2)},
        {{4, nullptr},
         {162, nullptr},
         reinterpret_cast<const BYTE*>(damaged.data()),
         DWORD(damaged.size() * 2)},
    };
    HINSTANCE module = GetModuleHandleW(nullptr);
    ASSERT_TRUE(platform::registerModuleResources(module, {entries, 2}));

    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = m_window;
    bar.nToolBarId = 161;
    bar.hInstRes = module;
    ASSERT_TRUE(SHCreateMenuBar(&bar));
    ASSERT_NE(bar.hwndMB, nullptr);
    RECT rect;
    GetWindowRect(bar.hwndMB, &rect);
    EXPECT_TRUE(sameRect(rect, RECT{0, 294, 240, 320}));
    EXPECT_TRUE(IsWindowVisible(bar.hwndMB));
    platform::testing::pumpMessages();

    seen().clear();
    platform::testing::tap(2, 300);  // the first item starts at the bar's left edge
    platform::testing::pumpMessages();
    ASSERT_EQ(countOf(WM_COMMAND, 301), 1u);
    platform::testing::tap(200, 300);  // beyond the three items: nothing
    platform::testing::pumpMessages();
    EXPECT_EQ(countOf(WM_COMMAND, 302), 0u);
    platform::testing::tap(235, 300);  // the input-panel button at the right end
    platform::testing::pumpMessages();
    EXPECT_EQ(countOf(WM_SETTINGCHANGE, SPI_SETSIPINFO), 1u);
    DestroyWindow(bar.hwndMB);

    bar.nToolBarId = 162;
    EXPECT_FALSE(SHCreateMenuBar(&bar));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    bar.nToolBarId = 999;
    EXPECT_FALSE(SHCreateMenuBar(&bar));
    bar.dwFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDDEN;
    ASSERT_TRUE(SHCreateMenuBar(&bar));
    EXPECT_FALSE(IsWindowVisible(bar.hwndMB));
    DestroyWindow(bar.hwndMB);
    platform::unregisterModuleResources(module);
}

}  // namespace
