// Shared helpers of the window manager tests: a test window class whose procedure paints its client
// area in the colour held in its user data, and short-hands for creating windows.
#pragma once

#include <functional>

#include "MessageRecorder.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace usertest {

using platform::testing::ExpectedMessage;
using platform::testing::kLParam;
using platform::testing::kOptional;
using platform::testing::kPosted;
using platform::testing::kSent;
using platform::testing::kWParam;

// Behaviour the test procedure can be given per message: return a value instead of the default.
inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& hook() {
    static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> fn;
    return fn;
}

inline LRESULT CALLBACK testProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (hook() && hook()(window, message, wParam, lParam, result)) return result;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(window, &ps);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWL_USERDATA)));
        RECT client;
        GetClientRect(window, &client);
        FillRect(hdc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline void registerTestClass(LPCWSTR name, UINT style = 0) {
    WNDCLASSW cls{};
    cls.style = style;
    cls.lpfnWndProc = testProc;
    cls.lpszClassName = name;
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&cls);
}

// A window of class "TestWnd" (registered on first use) painted in colour.
inline HWND makeWindow(HWND parent, int x, int y, int w, int h, COLORREF colour = RGB(255, 255, 255),
                       DWORD style = WS_VISIBLE, int id = 0) {
    registerTestClass(u"TestWnd");
    if (parent) style |= WS_CHILD;
    HWND window = CreateWindowExW(0, u"TestWnd", u"", style, x, y, w, h, parent,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    SetWindowLongPtrW(window, GWL_USERDATA, static_cast<LONG_PTR>(colour));
    return window;
}

// Resets the per-message hook when a test ends.
struct HookGuard {
    ~HookGuard() { hook() = nullptr; }
};

}  // namespace usertest
