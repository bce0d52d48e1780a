// Window attributes and relations: window longs (style, procedure, user data, id, extra slots),
// parent and sibling walks, dialog item ids, window text, FindWindowW and the desktop window.

#include "WindowManager.h"

using namespace platform::user;

namespace {

// Reads or (when set) writes one attribute; returns the previous value. ok is false for an unknown
// window or index.
LONG_PTR windowLong(HWND window, int index, const LONG_PTR* set, bool& ok) {
    Lock lock = lockState();
    Window* w = find(window);
    ok = w != nullptr;
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto access = [&](auto& field) -> LONG_PTR {
        LONG_PTR old = static_cast<LONG_PTR>(field);
        if (set) field = static_cast<std::remove_reference_t<decltype(field)>>(*set);
        return old;
    };
    switch (index) {
        case GWL_STYLE:
            return access(w->style);
        case GWL_EXSTYLE:
            return access(w->exStyle);
        case GWL_ID:
            return access(w->id);
        case GWL_USERDATA:
            return access(w->userData);
        case GWL_WNDPROC: {
            LONG_PTR old = reinterpret_cast<LONG_PTR>(w->proc);
            if (set) w->proc = reinterpret_cast<WNDPROC>(*set);
            return old;
        }
        case GWL_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->module);
        case GWL_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(isTopLevel(w) ? w->owner : w->parent->handle);
        default:
            if (index >= 0 && index + static_cast<int>(sizeof(LONG)) <= w->cls->extraBytes)
                return access(w->extra[index]);
            ok = false;
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
    }
}

bool matches(const Window* w, LPCWSTR className, LPCWSTR windowName) {
    if (className && !IS_INTRESOURCE(className) && lowerCase(className) != lowerCase(w->cls->name))
        return false;
    if (className && IS_INTRESOURCE(className) && reinterpret_cast<uintptr_t>(className) != w->cls->atom)
        return false;
    return !windowName || w->text == windowName;
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    bool ok;
    return windowLong(window, index, nullptr, ok);
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    bool ok;
    return windowLong(window, index, &value, ok);
}

LONG GetWindowLongW(HWND window, int index) {
    return static_cast<LONG>(GetWindowLongPtrW(window, index));
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrW(window, index, value));
}

HWND GetParent(HWND window) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w || !w->parent) return nullptr;
    // A child's parent, or a pop-up's owner.
    if (isTopLevel(w)) return (w->style & WS_POPUP) ? w->owner : nullptr;
    return w->parent->handle;
}

HWND SetParent(HWND window, HWND newParent) {
    Lock lock = lockState();
    Window* w = find(window);
    Window* p = newParent ? find(newParent) : &state().desktop;
    if (!w || !p || isDescendant(w, p)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Window* old = w->parent;
    bool visible = reallyVisible(w);
    RECT area = windowRectScreen(w);
    auto& siblings = old->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), w));
    p->children.insert(p->children.begin(), w);
    w->parent = p;
    if (visible) invalidateScreenArea(platform::Region(area));
    invalidateScreenArea(platform::Region(windowRectScreen(w)));
    return old == &state().desktop ? state().desktop.handle : old->handle;
}

BOOL IsChild(HWND parent, HWND window) {
    Lock lock = lockState();
    Window* p = find(parent);
    Window* w = find(window);
    return p && w && w != p && isDescendant(p, w) && !isTopLevel(w);
}

HWND GetWindow(HWND window, UINT relation) {
    Lock lock = lockState();
    Window* w = findOrDesktop(window);
    if (!w) return nullptr;
    if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (relation == GW_OWNER) return w->owner;
    if (!w->parent) return nullptr;
    const auto& siblings = w->parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    switch (relation) {
        case GW_HWNDFIRST:
            return siblings.front()->handle;
        case GW_HWNDLAST:
            return siblings.back()->handle;
        case GW_HWNDNEXT:
            return it + 1 == siblings.end() ? nullptr : (*(it + 1))->handle;
        case GW_HWNDPREV:
            return it == siblings.begin() ? nullptr : (*(it - 1))->handle;
        default:
            return nullptr;
    }
}

HWND GetDlgItem(HWND dialog, int id) {
    Lock lock = lockState();
    Window* w = find(dialog);
    if (!w) return nullptr;
    for (Window* child : w->children)
        if (static_cast<int>(child->id) == id) return child->handle;
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    Lock lock = lockState();
    Window* w = find(window);
    return w && !isTopLevel(w) ? static_cast<int>(w->id) : 0;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0) return 0;
    buffer[0] = 0;
    return static_cast<int>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(bufferMax), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    platform::ForeignWindows* foreign;
    {
        Lock lock = lockState();
        for (Window* top : state().desktop.children)
            if (!top->destroying && matches(top, className, windowName)) return top->handle;
        foreign = state().foreign;
    }
    return foreign ? foreign->find(className, windowName) : nullptr;
}

HWND GetDesktopWindow() {
    return state().desktop.handle;
}
