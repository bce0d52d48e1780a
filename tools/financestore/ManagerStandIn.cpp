// The finance manager stand-in: a window of the manager's class that logs every message it
// receives, until it is closed, told to quit or the process is terminated.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "StandIns.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace financestore {
namespace {

constexpr const WCHAR* kManagerClass = u"WCE_VarkelBrimwell";
constexpr const WCHAR* kManagerTitle = u"Brimwell";
// How often the message loop looks for a termination signal.
constexpr UINT kSignalPollMs = 50;

FILE* g_log = nullptr;
HWND g_window = nullptr;
volatile std::sig_atomic_t g_terminate = 0;

void onSignal(int) {
    g_terminate = 1;
}

void logMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    std::fprintf(g_log, "message %u wParam %llu lParam %lld\n", message,
                 static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    std::fflush(g_log);
}

LRESULT CALLBACK managerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    logMessage(message, wParam, lParam);
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A thread timer, so that its ticks are not messages of the logged window.
void CALLBACK pollSignal(HWND, UINT, UINT_PTR, DWORD) {
    if (g_terminate && g_window && IsWindow(g_window)) DestroyWindow(g_window);
}

HWND createManagerWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = managerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kManagerClass;
    if (!RegisterClassW(&windowClass)) return nullptr;
    return CreateWindowExW(0, kManagerClass, kManagerTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

int runLoop() {
    UINT_PTR timer = SetTimer(nullptr, 0, kSignalPollMs, pollSignal);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    logMessage(message.message, message.wParam, message.lParam);
    if (timer) KillTimer(nullptr, timer);
    return 0;
}

}  // namespace

int runManager(const char* logPath) {
    g_log = (logPath && *logPath) ? std::fopen(logPath, "a") : stdout;
    if (!g_log) {
        std::fprintf(stderr, "financestore manager: cannot write the log %s\n", logPath);
        return 1;
    }
    // Without a display of its own asked for, the stand-in needs no window on the desktop; and a
    // script meant for the program it stands beside must not drive (and end) it.
    setenv("VARKEL_DISPLAY", std::getenv("VARKEL_DISPLAY") ? std::getenv("VARKEL_DISPLAY") : "headless", 1);
    unsetenv("VARKEL_SCRIPT");
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    int result = 1;
    if (!platform::startDisplay()) {
        std::fprintf(stderr, "financestore manager: the display cannot start\n");
    } else if ((g_window = createManagerWindow()) == nullptr) {
        std::fprintf(stderr, "financestore manager: the window cannot be created\n");
    } else {
        platform::syncWindowDirectory();
        result = runLoop();
    }
    g_window = nullptr;
    platform::stopDisplay();
    if (g_log != stdout) std::fclose(g_log);
    g_log = nullptr;
    return result;
}

}  // namespace financestore
