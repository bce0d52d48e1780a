// System services of the window manager: metrics from the screen profile, the work area, beeps and
// cursors (recorded for tests), the thread id, observers, the window directory hook, rotation
// (WM_SETTINGCHANGE to the top-level windows) and tearing down a thread's windows.

#include <sys/syscall.h>
#include <unistd.h>

#include "../display/Screen.h"
#include "MessageQueue.h"
#include "Timers.h"
#include "WindowManager.h"

using namespace platform::user;

namespace {

// Sizes in 96-dpi units.
constexpr int kScrollBarUnits = 13;
constexpr int kCaptionUnits = 26;
constexpr int kDoubleClickUnits = 8;
constexpr int kIconUnits = 32;
constexpr int kSmallIconUnits = 16;

std::mutex& beepMutex() {
    static std::mutex mutex;
    return mutex;
}
int g_lastBeep = -1;

// Stock cursors and icons: distinct non-null handles for the predefined ids.
HICON stockShape(LPCWSTR name, uintptr_t base) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    return reinterpret_cast<HICON>(base + reinterpret_cast<uintptr_t>(name) * 4);
}

}  // namespace

DWORD GetCurrentThreadId() {
    return currentThread();
}

int GetSystemMetrics(int index) {
    auto& screen = platform::Screen::instance();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
            return screen.width();
        case SM_CYSCREEN:
            return screen.height();
        case SM_CYFULLSCREEN: {
            RECT area = screen.workArea();
            return area.bottom - area.top;
        }
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return screen.scale(kScrollBarUnits);
        case SM_CYCAPTION:
        case SM_CYMENU:
            return screen.scale(kCaptionUnits);
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return screen.scale(kDoubleClickUnits);
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return screen.scale(kIconUnits);
        case SM_CXSMICON:
        case SM_CYSMICON:
            return screen.scale(kSmallIconUnits);
        case SM_CXICONSPACING:
        case SM_CYICONSPACING:
            return screen.scale(kIconUnits * 2);
        default:
            return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT, PVOID data, UINT) {
    if (action == SPI_GETWORKAREA && data) {
        *static_cast<RECT*>(data) = platform::Screen::instance().workArea();
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

BOOL MessageBeep(UINT type) {
    std::lock_guard lock(beepMutex());
    g_lastBeep = static_cast<int>(type);
    return TRUE;
}

HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name) {
    if (module) return nullptr;
    return stockShape(name, 0x7E000000);
}

HICON LoadIconW(HINSTANCE module, LPCWSTR name) {
    if (module) return nullptr;
    return stockShape(name, 0x7F000000);
}

namespace platform::user {

// Rotation or a new profile: the desktop follows the screen, everything is repainted and the
// top-level windows are told with WM_SETTINGCHANGE(SETTINGCHANGE_RESET).
void screenChanged() {
    std::vector<HWND> tops;
    {
        Lock lock = lockState();
        state().desktop.rect = Screen::instance().bounds();
        invalidateScreenArea(Region(state().desktop.rect));
        for (Window* top : state().desktop.children)
            tops.push_back(top->handle);
    }
    for (HWND top : tops)
        if (IsWindow(top)) SendMessageW(top, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
}

}  // namespace platform::user

namespace platform {

int takeLastBeep() {
    std::lock_guard lock(beepMutex());
    int beep = g_lastBeep;
    g_lastBeep = -1;
    return beep;
}

void setMessageObserver(MessageObserver observer) {
    Lock lock = lockState();
    state().observer = std::move(observer);
}

void setForeignWindows(ForeignWindows* directory) {
    Lock lock = lockState();
    state().foreign = directory;
}

void forEachTopLevelWindow(const std::function<void(HWND)>& fn) {
    std::vector<HWND> tops;
    {
        Lock lock = lockState();
        for (Window* top : state().desktop.children)
            tops.push_back(top->handle);
    }
    for (HWND top : tops)
        if (IsWindow(top)) fn(top);
}

void destroyThreadWindows() {
    DWORD self = currentThread();
    for (;;) {
        HWND victim = nullptr;
        {
            Lock lock = lockState();
            for (Window* top : state().desktop.children)
                if (top->thread == self && !top->destroying) victim = top->handle;
            if (!victim)
                for (auto& [handle, w] : state().windows)
                    if (w->thread == self && !w->destroying) victim = handle;
        }
        if (!victim) break;
        DestroyWindow(victim);
    }
    user::killThreadTimers(self);
    auto queue = currentQueue();
    queue->removeIf([](const MSG&) { return true; });
    int code;
    queue->takeQuit(code, true);
    user::handleSentMessages();
    ReleaseCapture();
}

}  // namespace platform
