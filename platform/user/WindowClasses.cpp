// Window classes: registration, removal and lookup by name (case-insensitive), and class queries.

#include "WindowManager.h"
#include "platform/handles.h"
#include "platform/winerror.h"

using namespace platform::user;

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
    if (!windowClass || !windowClass->lpfnWndProc || !windowClass->lpszClassName ||
        IS_INTRESOURCE(windowClass->lpszClassName) || !*windowClass->lpszClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Lock lock = lockState();
    auto& s = state();
    std::u16string name(windowClass->lpszClassName);
    std::u16string key = lowerCase(name);
    if (s.classes.count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->style = windowClass->style;
    cls->proc = windowClass->lpfnWndProc;
    cls->module = windowClass->hInstance;
    cls->icon = windowClass->hIcon;
    cls->cursor = windowClass->hCursor;
    cls->background = windowClass->hbrBackground;
    cls->extraBytes = std::max(windowClass->cbWndExtra, 0);
    cls->atom = s.nextAtom++;
    if (s.nextAtom == 0) s.nextAtom = 0xC000;
    s.classes[key] = cls;
    return cls->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    if (!className || IS_INTRESOURCE(className)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    Lock lock = lockState();
    auto& classes = state().classes;
    auto it = classes.find(lowerCase(className));
    if (it == classes.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (it->second->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    classes.erase(it);
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, LPWNDCLASSW windowClass) {
    if (!className || IS_INTRESOURCE(className) || !windowClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = lockState();
    auto it = state().classes.find(lowerCase(className));
    if (it == state().classes.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    const WindowClass& cls = *it->second;
    *windowClass = WNDCLASSW{cls.style,  cls.proc,       0,       cls.extraBytes,  cls.module, cls.icon,
                             cls.cursor, cls.background, nullptr, cls.name.c_str()};
    return TRUE;
}

int GetClassNameW(HWND window, LPWSTR buffer, int bufferMax) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w || !buffer || bufferMax <= 0) {
        SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    int count = std::min(static_cast<int>(w->cls->name.size()), bufferMax - 1);
    std::copy_n(w->cls->name.data(), count, buffer);
    buffer[count] = 0;
    return count;
}

void platform::forEachWindowClass(const std::function<void(LPCWSTR, WNDPROC, HINSTANCE)>& fn) {
    std::vector<std::shared_ptr<WindowClass>> classes;
    {
        Lock lock = lockState();
        for (const auto& [key, cls] : state().classes)
            classes.push_back(cls);
    }
    for (const auto& cls : classes)
        fn(cls->name.c_str(), cls->proc, cls->module);
}
