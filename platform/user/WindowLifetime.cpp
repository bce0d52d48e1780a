// Creating and destroying windows: the creation messages (WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE,
// then showing), and destruction parent first (WM_DESTROY) and children first (WM_NCDESTROY).

#include <algorithm>

#include "../display/Screen.h"
#include "MessageQueue.h"
#include "Timers.h"
#include "WindowManager.h"
#include "platform/handles.h"

using namespace platform::user;

namespace {

// The rectangle asked for, with CW_USEDEFAULT taking the work area for a top-level window and
// nothing for a child.
RECT placement(bool child, int x, int y, int width, int height) {
    RECT area = child ? RECT{0, 0, 0, 0} : platform::Screen::instance().workArea();
    if (x == CW_USEDEFAULT) {
        x = area.left;
        y = area.top;
    }
    if (width == CW_USEDEFAULT) {
        width = area.right - area.left;
        height = area.bottom - area.top;
    }
    return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

// Builds the window object and links it into its parent's z-order (a pop-up or top-level window on
// top; a child at the bottom of its siblings, as the device stacks children in creation order).
HWND makeWindow(const std::shared_ptr<WindowClass>& cls, Window* parent, DWORD exStyle, LPCWSTR name,
                DWORD style, const RECT& rect, HMENU menu, HINSTANCE module) {
    auto& s = state();
    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 4;  // the low bits stay clear: callers may set bit 0 for SetForegroundWindow
    w->cls = cls;
    w->parent = parent;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
    w->proc = cls->proc;
    w->module = module;
    if (name && !IS_INTRESOURCE(name)) w->text = name;
    w->rect = rect;
    w->thread = currentThread();
    currentQueue();
    if (style & WS_CHILD)
        parent->children.push_back(w.get());
    else
        parent->children.insert(parent->children.begin(), w.get());
    ++cls->windows;
    HWND handle = w->handle;
    s.windows[handle] = std::move(w);
    return handle;
}

void sendSizeAndMove(HWND handle) {
    RECT client;
    GetClientRect(handle, &client);
    SendMessageW(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    POINT origin{0, 0};
    MapWindowPoints(handle, coordinateParent(handle), &origin, 1);
    SendMessageW(handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE module, LPVOID param) {
    HWND handle = nullptr;
    {
        Lock lock = lockState();
        auto& s = state();
        auto it =
            className && !IS_INTRESOURCE(className) ? s.classes.find(lowerCase(className)) : s.classes.end();
        if (it == s.classes.end()) {
            SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
            return nullptr;
        }
        Window* parentWindow = &s.desktop;
        if (parent && parent != s.desktop.handle) {
            parentWindow = find(parent);
            if (!parentWindow || parentWindow->destroying) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return nullptr;
            }
        }
        if ((style & WS_CHILD) && parentWindow == &s.desktop) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        // An owned pop-up or overlapped window is still a top-level window.
        // A pop-up or overlapped window created with a parent is a top-level window owned by the
        // parent's top-level window.
        HWND owner = nullptr;
        if (!(style & WS_CHILD)) {
            if (parentWindow != &s.desktop) owner = topLevelOf(parentWindow)->handle;
            parentWindow = &s.desktop;
        }
        RECT rect = placement(style & WS_CHILD, x, y, width, height);
        handle = makeWindow(it->second, parentWindow, exStyle, windowName, style, rect, menu, module);
        find(handle)->owner = owner;
    }
    CREATESTRUCTW create{param,      module,    menu,   parent, height, width, y, x, static_cast<LONG>(style),
                         windowName, className, exStyle};
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageW(handle, WM_NCCREATE, 0, createParam) ||
        SendMessageW(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle)) return nullptr;
    sendSizeAndMove(handle);
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

namespace {

void markDestroying(Window* w, std::vector<HWND>& order) {
    w->destroying = true;
    order.push_back(w->handle);
    for (Window* child : w->children)
        markDestroying(child, order);
}

// Sends WM_DESTROY to the window, then to each child in turn (each child's subtree before the next).
void sendDestroy(HWND handle) {
    SendMessageW(handle, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        Lock lock = lockState();
        if (Window* w = find(handle))
            for (Window* child : w->children)
                children.push_back(child->handle);
    }
    for (HWND child : children)
        sendDestroy(child);
}

void sendNcDestroy(HWND handle) {
    std::vector<HWND> children;
    {
        Lock lock = lockState();
        if (Window* w = find(handle))
            for (Window* child : w->children)
                children.push_back(child->handle);
    }
    for (HWND child : children)
        sendNcDestroy(child);
    SendMessageW(handle, WM_NCDESTROY, 0, 0);
    Lock lock = lockState();
    Window* w = find(handle);
    if (!w) return;
    killWindowTimers(handle);
    if (auto queue = queueOf(w->thread)) queue->removeIf([handle](const MSG& m) { return m.hwnd == handle; });
    for (Window* child : w->children)
        child->parent = nullptr;
    auto& siblings = w->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
    --w->cls->windows;
    state().windows.erase(handle);
}

}  // namespace

namespace {

// Owned windows go before their owner, as on the device.
void destroyOwnedWindows(HWND owner) {
    std::vector<HWND> owned;
    {
        Lock lock = lockState();
        for (Window* top : state().desktop.children)
            if (top->owner == owner && !top->destroying) owned.push_back(top->handle);
    }
    for (HWND window : owned)
        DestroyWindow(window);
}

}  // namespace

BOOL DestroyWindow(HWND window) {
    if (!IsWindow(window) || window == GetDesktopWindow()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    destroyOwnedWindows(window);
    std::vector<HWND> subtree;
    RECT area;
    bool wasVisible;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w || w->destroying) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        markDestroying(w, subtree);
        wasVisible = reallyVisible(w);
        area = windowRectScreen(w);
        w->style &= ~WS_VISIBLE;
        clearUpdate(w);
    }
    if (wasVisible) invalidateScreenArea(platform::Region(area));
    releaseCaptureIf(window, true);
    {
        Lock lock = lockState();
        auto& s = state();
        Window* w = find(window);
        Window* focus = find(s.focus);
        if (focus && isDescendant(w, focus)) s.focus = nullptr;
    }
    if (GetActiveWindow() == window) activateNextTopLevel(window);
    sendDestroy(window);
    sendNcDestroy(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    Lock lock = lockState();
    if (find(window) || window == state().desktop.handle) return TRUE;
    platform::ForeignWindows* foreign = state().foreign;
    lock.unlock();
    return foreign && window && foreign->isWindow(window);
}
