// Stylus and key input: the injection path presenters and scripts use, routing to the capture or
// the window under the stylus, double clicks, key state, capture, focus and activation.

#include "../display/Screen.h"
#include "MessageQueue.h"
#include "ScrollBars.h"
#include "WindowManager.h"
#include "platform/clock.h"

using namespace platform::user;

namespace {

constexpr UINT kDoubleClickTime = 500;

struct InputState {
    std::mutex mutex;
    bool keys[256] = {};
    bool toggled[256] = {};
    POINT cursor{0, 0};
    HWND lastDownWindow = nullptr;
    DWORD lastDownTime = 0;
    POINT lastDownPoint{0, 0};
    HCURSOR cursorShape = nullptr;
};

InputState& input() {
    static auto* s = new InputState();
    return *s;
}

// The deepest visible, enabled window at a screen point, searched from the top of the z-order.
Window* deepestAt(Window* parent, POINT pt) {
    for (Window* child : parent->children) {
        if (!(child->style & WS_VISIBLE)) continue;
        RECT r = windowRectScreen(child);
        if (!PtInRect(&r, pt)) continue;
        if (child->style & WS_DISABLED) return nullptr;
        RECT client = clientRectScreen(child);
        if (!PtInRect(&client, pt)) return child;
        Window* inner = deepestAt(child, pt);
        return inner ? inner : child;
    }
    return nullptr;
}

bool isDoubleClick(Window* target, POINT pt, DWORD now) {
    auto& in = input();
    bool dbl = (target->cls->style & CS_DBLCLKS) && in.lastDownWindow == target->handle &&
               now - in.lastDownTime <= kDoubleClickTime &&
               std::abs(pt.x - in.lastDownPoint.x) * 2 <= GetSystemMetrics(SM_CXDOUBLECLK) &&
               std::abs(pt.y - in.lastDownPoint.y) * 2 <= GetSystemMetrics(SM_CYDOUBLECLK);
    // A double click ends the sequence: a third tap starts a new one.
    in.lastDownWindow = dbl ? nullptr : target->handle;
    in.lastDownTime = now;
    in.lastDownPoint = pt;
    return dbl;
}

WPARAM mouseKeys() {
    auto& in = input();
    WPARAM keys = 0;
    if (in.keys[VK_LBUTTON]) keys |= MK_LBUTTON;
    if (in.keys[VK_SHIFT]) keys |= MK_SHIFT;
    if (in.keys[VK_CONTROL]) keys |= MK_CONTROL;
    return keys;
}

void postTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, POINT pt) {
    DWORD thread;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return;
        thread = w->thread;
    }
    if (auto queue = queueOf(thread)) queue->post(MSG{window, message, wParam, lParam, GetTickCount(), pt});
}

}  // namespace

namespace platform {

void injectStylus(StylusAction action, int x, int y) {
    POINT pt{x, y};
    HWND target = nullptr;
    UINT message = WM_MOUSEMOVE;
    POINT client{0, 0};
    int scrollHit = 0;  // the stylus is on a window scroll bar: non-client messages
    {
        Lock lock = lockState();
        std::lock_guard inLock(input().mutex);
        input().cursor = pt;
        if (action == StylusAction::Down) input().keys[VK_LBUTTON] = true;
        Window* w = find(state().capture);
        if (!w) w = deepestAt(&state().desktop, pt);
        if (w) {
            target = w->handle;
            POINT origin = clientOriginScreen(w);
            client = POINT{x - origin.x, y - origin.y};
            if (action == StylusAction::Down)
                message = isDoubleClick(w, pt, GetTickCount()) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            else if (action == StylusAction::Up)
                message = WM_LBUTTONUP;
            scrollHit = stylusScrollHit(w, pt);
        }
        if (action == StylusAction::Up) input().keys[VK_LBUTTON] = false;
    }
    if (!target) return;
    if (action == StylusAction::Down) {
        Lock lock = lockState();
        Window* top = topLevelOf(find(target));
        HWND topHandle = top ? top->handle : nullptr;
        lock.unlock();
        if (topHandle && GetActiveWindow() != topHandle) SetActiveWindow(topHandle);
    }
    if (scrollHit) {
        static constexpr UINT kNonClient[] = {WM_NCLBUTTONDOWN, WM_NCMOUSEMOVE, WM_NCLBUTTONUP};
        postTo(target, kNonClient[static_cast<int>(action)], scrollHit, MAKELPARAM(x, y), pt);
        return;
    }
    WPARAM keys;
    {
        std::lock_guard inLock(input().mutex);
        keys = mouseKeys();
    }
    postTo(target, message, keys, MAKELPARAM(client.x, client.y), pt);
}

void injectKey(UINT virtualKey, bool down) {
    virtualKey &= 0xFF;
    bool wasDown;
    {
        std::lock_guard inLock(input().mutex);
        wasDown = input().keys[virtualKey];
        input().keys[virtualKey] = down;
        if (down && !wasDown) input().toggled[virtualKey] = !input().toggled[virtualKey];
    }
    HWND target = GetFocus();
    if (!target) target = GetActiveWindow();
    if (!target) return;
    LPARAM lParam = 1 | (wasDown ? (1 << 30) : 0);
    if (!down) lParam = 1 | (1 << 30) | static_cast<LPARAM>(0x80000000u);
    postTo(target, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam, cursorPos());
}

void injectChar(WCHAR character) {
    HWND target = GetFocus();
    if (!target) target = GetActiveWindow();
    if (target) postTo(target, WM_CHAR, character, 1, cursorPos());
}

bool waitCursorShown() {
    std::lock_guard inLock(input().mutex);
    return input().cursorShape == LoadCursorW(nullptr, IDC_WAIT);
}

}  // namespace platform

namespace platform::user {

POINT cursorPos() {
    std::lock_guard inLock(input().mutex);
    return input().cursor;
}

}  // namespace platform::user

SHORT GetKeyState(int virtualKey) {
    std::lock_guard inLock(input().mutex);
    int vk = virtualKey & 0xFF;
    bool down = input().keys[vk];
    if (vk == VK_SHIFT) down = down || input().keys[VK_LSHIFT] || input().keys[VK_RSHIFT];
    if (vk == VK_CONTROL) down = down || input().keys[VK_LCONTROL] || input().keys[VK_RCONTROL];
    return static_cast<SHORT>((down ? 0x8000 : 0) | (input().toggled[vk] ? 1 : 0));
}

SHORT GetAsyncKeyState(int virtualKey) {
    return static_cast<SHORT>(GetKeyState(virtualKey) & 0x8000);
}

UINT GetDoubleClickTime() {
    return kDoubleClickTime;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = cursorPos();
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    std::lock_guard inLock(input().mutex);
    HCURSOR previous = input().cursorShape;
    input().cursorShape = cursor;
    return previous;
}

HCURSOR GetCursor() {
    std::lock_guard inLock(input().mutex);
    return input().cursorShape;
}
