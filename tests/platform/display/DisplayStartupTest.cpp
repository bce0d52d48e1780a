// A program's display start-up, run in child processes: headless with a script on the virtual
// clock, the window directory following the program's windows, and the SDL presenter on SDL's
// dummy video driver turning mouse events into stylus input.

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TempRoot.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace {

namespace fs = std::filesystem;

int g_downs = 0;
LPARAM g_downPoint = 0;

LRESULT CALLBACK programProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        ++g_downs;
        g_downPoint = lParam;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createProgramWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = programProc;
    cls.lpszClassName = u"VarkelStartupCls";
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&cls);
    return CreateWindowExW(0, u"VarkelStartupCls", u"Startup", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268,
                           nullptr, nullptr, nullptr, nullptr);
}

int runLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int ownEntries() {
    int count = 0;
    std::error_code failed;
    for (const auto& item : fs::directory_iterator(platform::runFolder() + "/windows", failed))
        count += item.path().filename().string().rfind(std::to_string(getpid()) + "-", 0) == 0;
    return count;
}

TEST(DisplayStartup, HeadlessScriptRunsOnTheVirtualClock) {
    platform::testing::TempRoot root;
    std::string script = root.path() + "/run.script";
    std::string shot = root.path() + "/shot.png";
    std::ofstream(script) << "tap 20 60\nwait 60000\nshot " << shot << "\nquit\n";
    int code = platform::testing::runInChild([&] {
        setenv("VARKEL_DISPLAY", "headless", 1);
        setenv("VARKEL_SCRIPT", script.c_str(), 1);
        if (!platform::startDisplay()) return 10;
        if (!platform::isVirtualClock()) return 11;
        DWORD start = GetTickCount();
        createProgramWindow();
        if (runLoop() != 0) return 12;
        if (GetTickCount() - start < 60000) return 13;
        if (g_downs != 1 || g_downPoint != MAKELPARAM(20, 34)) return 14;
        if (ownEntries() != 1) return 15;  // written at the frames
        platform::stopDisplay();
        return ownEntries() == 0 ? 0 : 16;
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(fs::exists(shot));
}

TEST(DisplayStartup, UnknownPresenterIsRefused) {
    int code = platform::testing::runInChild([] {
        setenv("VARKEL_DISPLAY", "vga", 1);
        return platform::startDisplay() ? 1 : 0;
    });
    EXPECT_EQ(code, 0);
}

TEST(DisplayStartup, SdlPresenterTurnsTheMouseIntoTheStylus) {
    platform::testing::TempRoot root;
    std::string script = root.path() + "/run.script";
    std::ofstream(script) << "wait 100\nquit\n";
    int code = platform::testing::runInChild([&] {
        setenv("VARKEL_DISPLAY", "sdl", 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("VARKEL_SCRIPT", script.c_str(), 1);
        if (!platform::startDisplay()) return 10;
        if (platform::isVirtualClock()) return 11;
        createProgramWindow();
        SDL_Window* window = SDL_GetWindowFromID(1);
        if (!window) return 12;
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window, &width, &height);
        int scale = width / 240;
        if (scale < 1 || height != 320 * scale) return 13;
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.button.type = type;
            event.button.windowID = 1;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.x = 20 * scale;
            event.button.y = 60 * scale;
            SDL_PushEvent(&event);
        }
        if (runLoop() != 0) return 14;
        if (g_downs != 1) return 15;
        platform::stopDisplay();
        return g_downPoint == MAKELPARAM(20, 34) ? 0 : 16;
    });
    EXPECT_EQ(code, 0);
}

}  // namespace
