// Showing, hiding, moving, sizing and stacking windows, with the notifications the device sends
// (WM_SHOWWINDOW, WM_WINDOWPOSCHANGING/CHANGED and through them WM_MOVE/WM_SIZE) and repainting of
// whatever a change uncovers; rectangles and coordinate mapping.

#include <algorithm>

#include "WindowManager.h"

using namespace platform::user;
using platform::Region;

namespace {

bool showsActivation(int command) {
    return command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
           command != SW_HIDE && command != SW_MINIMIZE;
}

// Moves focus off a window that is being hidden: a child's focus goes to its parent, a top-level
// window gives up activation to the next visible one.
void leaveHiddenWindow(HWND window) {
    HWND parent = nullptr;
    bool hadFocus;
    bool topLevel;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return;
        Window* focus = find(state().focus);
        hadFocus = focus && isDescendant(w, focus);
        topLevel = isTopLevel(w);
        if (!topLevel) parent = w->parent->handle;
    }
    if (topLevel && GetActiveWindow() == window)
        activateNextTopLevel(window);
    else if (hadFocus && !topLevel)
        SetFocus(parent);
}

// Applies the position to the tree and returns the screen area to repaint (old and new place).
Region applyPosition(Window* w, const WINDOWPOS& pos) {
    Region dirty;
    bool visibleBefore = reallyVisible(w);
    if (visibleBefore) dirty.unite(windowRectScreen(w));
    if (!(pos.flags & SWP_NOMOVE)) OffsetRect(&w->rect, pos.x - w->rect.left, pos.y - w->rect.top);
    if (!(pos.flags & SWP_NOSIZE)) {
        w->rect.right = w->rect.left + std::max(pos.cx, 0);
        w->rect.bottom = w->rect.top + std::max(pos.cy, 0);
    }
    if (!(pos.flags & SWP_NOZORDER)) {
        auto& siblings = w->parent->children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), w));
        auto at = siblings.begin();
        if (pos.hwndInsertAfter == HWND_BOTTOM) {
            at = siblings.end();
        } else if (pos.hwndInsertAfter != HWND_TOP && pos.hwndInsertAfter != HWND_TOPMOST &&
                   pos.hwndInsertAfter != HWND_NOTOPMOST) {
            Window* after = find(pos.hwndInsertAfter);
            auto it = std::find(siblings.begin(), siblings.end(), after);
            if (it != siblings.end()) at = it + 1;
        }
        siblings.insert(at, w);
    }
    if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) {
        w->style &= ~WS_VISIBLE;
        clearUpdate(w);
    }
    if (reallyVisible(w)) dirty.unite(windowRectScreen(w));
    return dirty;
}

}  // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    WINDOWPOS pos{window, insertAfter, x, y, width, height, flags};
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (w->rect.left == x && w->rect.top == y) pos.flags |= SWP_NOMOVE;
        if (w->rect.right - w->rect.left == width && w->rect.bottom - w->rect.top == height)
            pos.flags |= SWP_NOSIZE;
        if ((pos.flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) pos.flags &= ~SWP_SHOWWINDOW;
        if ((pos.flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) pos.flags &= ~SWP_HIDEWINDOW;
    }
    if (!(pos.flags & SWP_NOSENDCHANGING))
        SendMessageW(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (pos.flags & SWP_HIDEWINDOW) leaveHiddenWindow(window);
    Region dirty;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return FALSE;
        dirty = applyPosition(w, pos);
        if (!(pos.flags & SWP_NOREDRAW)) invalidateScreenArea(dirty);
    }
    SendMessageW(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if ((pos.flags & SWP_SHOWWINDOW) && !(pos.flags & SWP_NOACTIVATE) && !coordinateParent(window))
        SetActiveWindow(window);
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND window) {
    return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL ShowWindow(HWND window, int command) {
    bool wasVisible;
    bool child;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        wasVisible = w->style & WS_VISIBLE;
        child = !isTopLevel(w);
    }
    bool show = command != SW_HIDE;
    if (show == wasVisible) {
        if (show && !child && showsActivation(command)) SetActiveWindow(window);
        return wasVisible;
    }
    SendMessageW(window, WM_SHOWWINDOW, show, 0);
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (child || !showsActivation(command)) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, flags);
    return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
    Lock lock = lockState();
    Window* w = find(window);
    return w && reallyVisible(w);
}

BOOL EnableWindow(HWND window, BOOL enable) {
    bool wasDisabled;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return FALSE;
        wasDisabled = w->style & WS_DISABLED;
        if (wasDisabled == !enable) return wasDisabled;
        if (enable)
            w->style &= ~WS_DISABLED;
        else
            w->style |= WS_DISABLED;
    }
    if (!enable) {
        HWND focus = GetFocus();
        if (focus == window || IsChild(window, focus)) SetFocus(nullptr);
        releaseCaptureIf(window, true);
    }
    SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    Lock lock = lockState();
    Window* w = find(window);
    return w && !(w->style & WS_DISABLED);
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    Lock lock = lockState();
    Window* w = findOrDesktop(window);
    if (!w || !rect) return FALSE;
    RECT r = w == &state().desktop ? w->rect : clientRectScreen(w);
    *rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
    return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    Lock lock = lockState();
    Window* w = findOrDesktop(window);
    if (!w || !rect) return FALSE;
    *rect = w == &state().desktop ? w->rect : windowRectScreen(w);
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Lock lock = lockState();
    Window* source = from ? findOrDesktop(from) : &state().desktop;
    Window* target = to ? findOrDesktop(to) : &state().desktop;
    if (!source || !target) return 0;
    POINT a = source == &state().desktop ? POINT{0, 0} : clientOriginScreen(source);
    POINT b = target == &state().desktop ? POINT{0, 0} : clientOriginScreen(target);
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    if (!IsWindow(window) || !point) return FALSE;
    MapWindowPoints(window, nullptr, point, 1);
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    if (!IsWindow(window) || !point) return FALSE;
    MapWindowPoints(nullptr, window, point, 1);
    return TRUE;
}

HWND WindowFromPoint(POINT point) {
    Lock lock = lockState();
    Window* w = nullptr;
    for (Window* level = &state().desktop;;) {
        Window* hit = nullptr;
        for (Window* child : level->children) {
            RECT r = windowRectScreen(child);
            if ((child->style & WS_VISIBLE) && PtInRect(&r, point)) {
                hit = child;
                break;
            }
        }
        // Disabled windows are not found: the point belongs to their parent.
        if (!hit || (hit->style & WS_DISABLED)) break;
        w = hit;
        RECT client = clientRectScreen(hit);
        if (!PtInRect(&client, point)) break;
        level = hit;
    }
    return w ? w->handle : nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    Lock lock = lockState();
    Window* p = findOrDesktop(parent);
    if (!p) return nullptr;
    RECT client = p == &state().desktop ? p->rect : clientRectScreen(p);
    OffsetRect(&client, -client.left, -client.top);
    if (!PtInRect(&client, point)) return nullptr;
    POINT screen = point;
    if (p != &state().desktop) {
        POINT origin = clientOriginScreen(p);
        screen = POINT{point.x + origin.x, point.y + origin.y};
    }
    for (Window* child : p->children) {
        RECT r = windowRectScreen(child);
        if (PtInRect(&r, screen)) return child->handle;
    }
    return parent;
}
