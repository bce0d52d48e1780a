// Running input scripts headless on the virtual clock: taps and keys reach a window, "wait" moves
// the clock, "shot" writes the framebuffer, "rotate" turns the screen, errors end the run.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <sstream>

#include "../../../platform/display/InputScript.h"
#include "../../../platform/display/Screen.h"
#include "TempRoot.h"
#include "UserTesting.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace {

using namespace platform::display;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD tick;
};

std::vector<Seen>& seen() {
    static std::vector<Seen> all;
    return all;
}

constexpr COLORREF kWindowColor = RGB(200, 30, 40);

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen().push_back({message, wParam, lParam, GetTickCount()});
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HBRUSH brush = CreateSolidBrush(kWindowColor);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ScriptRun : public ::testing::Test {
  protected:
    void SetUp() override {
        seen().clear();
        WNDCLASSW cls{};
        cls.lpfnWndProc = recordingProc;
        cls.lpszClassName = u"ScriptTestWnd";
        RegisterClassW(&cls);
        m_window = CreateWindowExW(0, u"ScriptTestWnd", u"script", WS_POPUP | WS_VISIBLE, 20, 30, 100, 80,
                                   nullptr, nullptr, nullptr, nullptr);
        SetFocus(m_window);
        platform::testing::pumpMessages();
        seen().clear();
    }
    void TearDown() override { stopScript(); }

    // Runs the script to its end through an ordinary message loop; returns WM_QUIT's code.
    int run(const std::string& text, ScriptHooks hooks = {}) {
        std::istringstream in(text);
        ParsedScript script = parseScript(in, "test.script");
        m_start = GetTickCount();
        EXPECT_TRUE(runScript(std::move(script), std::move(hooks)));
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return static_cast<int>(msg.wParam);
    }

    std::vector<Seen> only(UINT message) const {
        std::vector<Seen> out;
        for (const Seen& s : seen())
            if (s.message == message) out.push_back(s);
        return out;
    }

    platform::testing::WindowTestScope m_scope;
    HWND m_window = nullptr;
    DWORD m_start = 0;
};

TEST_F(ScriptRun, TapsReachTheWindowAtClientPoints) {
    EXPECT_EQ(run("tap 30 50\ndown 25 35\nmove 40 60\nup 41 61\nquit\n"), 0);
    auto downs = only(WM_LBUTTONDOWN);
    auto ups = only(WM_LBUTTONUP);
    ASSERT_EQ(downs.size(), 2u);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(ups[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(downs[1].lParam, MAKELPARAM(5, 5));
    ASSERT_FALSE(only(WM_MOUSEMOVE).empty());
    EXPECT_EQ(only(WM_MOUSEMOVE).back().lParam, MAKELPARAM(20, 30));
    EXPECT_EQ(ups[1].lParam, MAKELPARAM(21, 31));
    EXPECT_EQ(downs[1].tick - downs[0].tick, 1u) << "each input command takes one step";
}

TEST_F(ScriptRun, KeysAndCharactersReachTheFocus) {
    EXPECT_EQ(run("key RETURN\nkey a\nkey B\nchar ж!\nkey BACK\nquit\n"), 0);
    std::vector<WPARAM> downs;
    for (const Seen& s : only(WM_KEYDOWN))
        downs.push_back(s.wParam);
    EXPECT_EQ(downs, (std::vector<WPARAM>{VK_RETURN, 'A', VK_SHIFT, 'B', VK_ESCAPE}));
    std::u16string typed;
    for (const Seen& s : only(WM_CHAR))
        typed += static_cast<char16_t>(s.wParam);
    EXPECT_EQ(typed, std::u16string(u"\raBж!") + char16_t(0x1B));
    EXPECT_EQ(only(WM_KEYUP).size(), 5u);
}

TEST_F(ScriptRun, WaitAdvancesTheVirtualClock) {
    DWORD shotTick = 0;
    ScriptHooks hooks;
    hooks.shot = [&](const std::string&) {
        shotTick = GetTickCount();
        return true;
    };
    EXPECT_EQ(run("wait 500\nshot a.png\nwait 1000\nwait 0\nquit\n", hooks), 0);
    EXPECT_EQ(shotTick - m_start, 501u) << "one step to start, then 500 ms";
    EXPECT_EQ(GetTickCount() - m_start, 1502u);
}

bool readPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& rgb) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_png(png, info, PNG_TRANSFORM_STRIP_ALPHA | PNG_TRANSFORM_STRIP_16, nullptr);
        width = static_cast<int>(png_get_image_width(png, info));
        height = static_cast<int>(png_get_image_height(png, info));
        png_bytepp rows = png_get_rows(png, info);
        rgb.clear();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                rgb.push_back(RGB(rows[y][x * 3], rows[y][x * 3 + 1], rows[y][x * 3 + 2]));
        ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return ok;
}

TEST_F(ScriptRun, ShotWritesTheFramebufferAndRotateTurnsTheScreen) {
    platform::testing::TempRoot root;
    std::string before = root.path() + "/before.png";
    std::string after = root.path() + "/after.png";
    EXPECT_EQ(run("shot " + before + "\nrotate\nshot " + after + "\nquit\n"), 0);
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(readPng(before, width, height, pixels));
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 320);
    EXPECT_EQ(pixels[35 * 240 + 25], kWindowColor);
    EXPECT_EQ(pixels[35 * 240 + 119], kWindowColor) << "last column of the window";
    EXPECT_EQ(pixels[35 * 240 + 120], RGB(0, 0, 0)) << "beside the window";
    ASSERT_TRUE(readPng(after, width, height, pixels));
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(pixels[35 * 320 + 25], kWindowColor) << "painted again after the turn";
    auto changes = only(WM_SETTINGCHANGE);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].wParam, 0x3002u);
}

TEST_F(ScriptRun, AnswersAreQueuedInOrder) {
    EXPECT_EQ(run("answer YES\nanswer CANCEL\nquit\n"), 0);
    EXPECT_EQ(platform::takeScriptedAnswer(), IDYES);
    EXPECT_EQ(platform::takeScriptedAnswer(), IDCANCEL);
    EXPECT_EQ(platform::takeScriptedAnswer(), 0);
}

TEST_F(ScriptRun, MalformedLineStopsTheRunAfterTheLinesBeforeIt) {
    EXPECT_EQ(run("tap 30 50\nfly away\ntap 30 50\n"), 2);
    EXPECT_EQ(only(WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(ScriptRun, ScriptWithoutQuitEndsTheHeadlessRun) {
    EXPECT_EQ(run("tap 30 50\n"), 0);
    EXPECT_FALSE(scriptRunning());
}

}  // namespace
