// todayscreen: the home screen. Shows the date and the Today items registered in the device root's
// machine hive until it is closed, its script ends or it is told to stop (SIGTERM, SIGINT); unloads
// its items before it ends. Exit status: the quit code (0; 2 after a script error), 1 when the display
// or the window cannot be had.
#include <csignal>
#include <cstdio>

#include "HomeScreen.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace {

// How often the message loop looks for a termination signal.
constexpr UINT kSignalPollMs = 50;

volatile std::sig_atomic_t g_terminate = 0;
HWND g_home = nullptr;

void onSignal(int) {
    g_terminate = 1;
}

void CALLBACK pollSignal(HWND, UINT, UINT_PTR, DWORD) {
    if (g_terminate && g_home != nullptr && IsWindow(g_home)) PostMessageW(g_home, WM_CLOSE, 0, 0);
}

void report(const std::string& line) {
    std::printf("todayscreen: %s\n", line.c_str());
    std::fflush(stdout);
}

int runLoop() {
    UINT_PTR timer = SetTimer(nullptr, 0, kSignalPollMs, pollSignal);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (timer) KillTimer(nullptr, timer);
    return static_cast<int>(message.wParam);
}

}  // namespace

int main() {
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    if (!platform::startDisplay()) return 1;
    int result = 1;
    {
        todayscreen::HomeScreen home(report);
        if (home.create()) {
            g_home = home.window();
            result = runLoop();
        } else {
            std::fprintf(stderr, "todayscreen: the home screen window cannot be created\n");
        }
        g_home = nullptr;
    }
    platform::stopDisplay();
    return result;
}
