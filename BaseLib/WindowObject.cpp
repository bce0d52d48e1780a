// WindowObject: class registration, creation, subclassing and the common dispatcher that routes a
// window's messages to its object.

#include "WindowObject.h"

#include <vector>

namespace {

constexpr int kShorterWithoutInputPanel = 100;

// The module this code is built into: the program, or a shared library that carries it, so that the
// classes a library registers belong to it.
HINSTANCE programModule() {
    return platform::moduleOf(reinterpret_cast<const void*>(&WindowObject::dispatcher));
}

// The classes this module registered, so that a library can remove them before it is unloaded.
std::vector<Str>& registeredClasses() {
    static std::vector<Str> classes;
    return classes;
}

// Registers the class with the dispatcher as its procedure; an existing class of that name counts
// when it already dispatches to window objects.
bool registerDispatchingClass(LPCWSTR className, UINT styles, HICON icon, HBRUSH background) {
    WNDCLASSW cls{};
    cls.style = styles;
    cls.lpfnWndProc = WindowObject::dispatcher;
    cls.hInstance = programModule();
    cls.hIcon = icon;
    cls.hbrBackground = background;
    cls.lpszClassName = className;
    if (RegisterClassW(&cls) != 0) {
        registeredClasses().push_back(Str(className));
        return true;
    }
    WNDCLASSW existing{};
    return GetClassInfoW(programModule(), className, &existing) &&
           existing.lpfnWndProc == WindowObject::dispatcher;
}

HMENU idAsMenu(UINT id) {
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
}

}  // namespace

bool WindowObject::unregisterClasses() {
    bool all = true;
    std::vector<Str> kept;
    for (const Str& name : registeredClasses()) {
        if (UnregisterClassW(name, programModule())) continue;
        if (GetLastError() == ERROR_CLASS_HAS_WINDOWS) {
            kept.push_back(name);
            all = false;
        }
    }
    registeredClasses() = std::move(kept);
    return all;
}

bool fitWindowToVisibleDesktop(HWND window) {
    if (window == nullptr || !IsWindow(window)) return false;
    SIPINFO info{};
    info.cbSize = sizeof(info);
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &info, 0)) return false;
    RECT area = info.rcVisibleDesktop;
    if ((info.fdwFlags & SIPF_ON) == 0) area.bottom -= kShorterWithoutInputPanel;
    return MoveWindow(window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

WindowObject::~WindowObject() {
    destroy();
}

LRESULT WindowObject::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_previousProc != nullptr) return CallWindowProcW(m_previousProc, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

void WindowObject::fitToDesktop() {
    if (m_fitToDesktop && m_window != nullptr) fitWindowToVisibleDesktop(m_window);
}

bool WindowObject::registerClass(LPCWSTR className, UINT classStyles, HICON icon, HBRUSH background) {
    if (m_window != nullptr || className == nullptr || className[0] == 0) return false;
    if (!registerDispatchingClass(className, classStyles, icon, background)) return false;
    m_className = className;
    return true;
}

HWND WindowObject::create(DWORD exStyle, LPCWSTR title, DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (m_window != nullptr) return m_window;
    LPCWSTR className = m_className.c_str();
    if (m_className.isEmpty()) {
        if (!registerDispatchingClass(kDefaultWindowClass, CS_HREDRAW | CS_VREDRAW, nullptr,
                                      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))))
            return nullptr;
        className = kDefaultWindowClass;
    }
    HWND window =
        CreateWindowExW(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, idAsMenu(id), programModule(), this);
    // A window destroyed during its own creation has cleared the handle already; report what exists.
    if (window == nullptr) m_window = nullptr;
    return m_window;
}

HWND WindowObject::createWithClass(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style,
                                   const RECT& rect, HWND parent, UINT id) {
    if (m_window != nullptr) return m_window;
    HWND window =
        CreateWindowExW(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, idAsMenu(id), programModule(), nullptr);
    if (window == nullptr) return nullptr;
    if (!attach(window)) {
        DestroyWindow(window);
        return nullptr;
    }
    return m_window;
}

bool WindowObject::attach(HWND window) {
    if (window == nullptr || !IsWindow(window) || m_window != nullptr) return false;
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWL_WNDPROC));
    if (current == nullptr || current == dispatcher) return false;
    m_window = window;
    attached();
    SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_previousProc = current;
    SetWindowLongPtrW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(dispatcher));
    return true;
}

bool WindowObject::attachDialogItem(HWND dialog, int id) {
    if (dialog == nullptr || !IsWindow(dialog)) return false;
    return attach(GetDlgItem(dialog, id));
}

void WindowObject::detach() {
    if (m_window == nullptr) return;
    if (IsWindow(m_window)) {
        if (m_previousProc != nullptr)
            SetWindowLongPtrW(m_window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        if (objectOf(m_window) == this) SetWindowLongPtrW(m_window, GWL_USERDATA, 0);
    }
    m_previousProc = nullptr;
    m_window = nullptr;
}

void WindowObject::destroy() {
    HWND window = m_window;
    detach();
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
    m_className.clear();
}

WindowObject* WindowObject::objectOf(HWND window) {
    return reinterpret_cast<WindowObject*>(GetWindowLongPtrW(window, GWL_USERDATA));
}

void WindowObject::bind(HWND window) {
    m_window = window;
    SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK WindowObject::dispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* object = objectOf(window);
    if (object == nullptr) {
        if (message != WM_CREATE) return DefWindowProcW(window, message, wParam, lParam);
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        object = create != nullptr ? static_cast<WindowObject*>(create->lpCreateParams) : nullptr;
        if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
        object->bind(window);
        return object->windowProc(window, message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        LRESULT result = object->windowProc(window, message, wParam, lParam);
        object->m_window = nullptr;
        return result;
    }
    if (message == WM_NCDESTROY) {
        // The last message of the window: the object lets go of it, so that a later attach starts afresh.
        LRESULT result = object->windowProc(window, message, wParam, lParam);
        SetWindowLongPtrW(window, GWL_USERDATA, 0);
        object->m_previousProc = nullptr;
        if (object->m_window == window) object->m_window = nullptr;
        return result;
    }
    bool activated = message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE;
    if (activated || (message == WM_SETTINGCHANGE && wParam == SPI_SETSIPINFO)) object->fitToDesktop();
    return object->windowProc(window, message, wParam, lParam);
}
