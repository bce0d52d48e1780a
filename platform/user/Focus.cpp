// Capture, keyboard focus and activation. Capture and focus changes notify the windows involved
// (WM_CAPTURECHANGED; WM_KILLFOCUS to the old window before WM_SETFOCUS to the new one); activation
// sends WM_ACTIVATE to the window losing it, then to the one gaining it.

#include "WindowManager.h"

using namespace platform::user;

namespace platform::user {

void releaseCaptureIf(HWND window, bool subtree) {
    HWND old;
    {
        Lock lock = lockState();
        auto& s = state();
        Window* holder = find(s.capture);
        Window* w = find(window);
        if (!holder || !w) return;
        if (holder != w && !(subtree && isDescendant(w, holder))) return;
        old = s.capture;
        s.capture = nullptr;
    }
    SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
}

void activateNextTopLevel(HWND leaving) {
    HWND next = nullptr;
    {
        Lock lock = lockState();
        for (Window* top : state().desktop.children) {
            if (top->handle != leaving && !top->destroying && (top->style & WS_VISIBLE) &&
                !(top->style & WS_DISABLED)) {
                next = top->handle;
                break;
            }
        }
    }
    SetActiveWindow(next);
}

}  // namespace platform::user

HWND SetCapture(HWND window) {
    HWND old;
    {
        Lock lock = lockState();
        auto& s = state();
        Window* w = find(window);
        if (!w || w->destroying) return nullptr;
        old = s.capture;
        if (old == window) return old;
        s.capture = window;
    }
    if (old && IsWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return old;
}

BOOL ReleaseCapture() {
    HWND old;
    {
        Lock lock = lockState();
        old = state().capture;
        state().capture = nullptr;
    }
    if (old && IsWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    Lock lock = lockState();
    return state().capture;
}

HWND SetFocus(HWND window) {
    HWND old;
    HWND top = nullptr;
    {
        Lock lock = lockState();
        auto& s = state();
        old = s.focus;
        if (window) {
            Window* w = find(window);
            if (!w || w->destroying || (w->style & WS_DISABLED)) return nullptr;
            top = topLevelOf(w)->handle;
        }
        if (old == window) return old;
    }
    if (top && GetActiveWindow() != top) {
        SetActiveWindow(top);
        old = GetFocus();
        if (old == window) return old;
    }
    if (old && IsWindow(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    {
        Lock lock = lockState();
        if (window && !find(window)) return nullptr;
        state().focus = window;
    }
    if (window) SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() {
    Lock lock = lockState();
    return state().focus;
}

HWND SetActiveWindow(HWND window) {
    HWND old;
    {
        Lock lock = lockState();
        auto& s = state();
        old = s.active;
        if (window) {
            Window* w = find(window);
            if (!w || w->destroying) return nullptr;
            window = topLevelOf(w)->handle;
        }
        if (old == window) return old;
        s.active = window;
    }
    if (old && IsWindow(old)) SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    {
        Lock lock = lockState();
        auto& s = state();
        Window* focus = find(s.focus);
        Window* oldWindow = find(old);
        bool focusInOld = focus && (!window || (oldWindow && isDescendant(oldWindow, focus)));
        if (focusInOld && !window) {
            HWND lost = s.focus;
            s.focus = nullptr;
            lock.unlock();
            SendMessageW(lost, WM_KILLFOCUS, 0, 0);
        }
    }
    if (window) SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    return old;
}

HWND GetActiveWindow() {
    Lock lock = lockState();
    return state().active;
}

BOOL SetForegroundWindow(HWND window) {
    // Bit 0 set asks for the window's last active pop-up; this window manager keeps no owner chains,
    // so the window itself is brought forward.
    HWND plain = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(window) & ~uintptr_t{1});
    platform::ForeignWindows* foreign;
    {
        Lock lock = lockState();
        foreign = state().foreign;
        if (!find(plain)) {
            lock.unlock();
            return foreign && plain && foreign->setForeground(plain) ? TRUE : FALSE;
        }
    }
    BringWindowToTop(plain);
    SetActiveWindow(plain);
    return TRUE;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}
