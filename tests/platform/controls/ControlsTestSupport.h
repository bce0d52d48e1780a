// Shared helpers of the standard control tests: a parent window that records its WM_COMMAND
// notifications and answers the WM_CTLCOLOR* messages with a brush and text colour of the test's
// choosing, short-hands for creating controls, and pixel scans of the screen.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MessageRecorder.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace controlstest {

using platform::testing::ExpectedMessage;
using platform::testing::kLParam;
using platform::testing::kOptional;
using platform::testing::kPosted;
using platform::testing::kSent;
using platform::testing::kWParam;
using platform::testing::pumpMessages;

struct Notification {
    WORD id;
    WORD code;
    HWND control;
};

// What the parent window answers and what it saw.
struct ParentLog {
    std::vector<Notification> commands;
    std::vector<UINT> colourRequests;  // WM_CTLCOLOR* messages in order
    std::vector<DRAWITEMSTRUCT> drawItems;
    HBRUSH brush = nullptr;  // answered to WM_CTLCOLOR*; null: the default handling
    COLORREF textColour = RGB(0, 0, 0);

    int count(WORD code, HWND control = nullptr) const {
        int n = 0;
        for (const Notification& c : commands)
            if (c.code == code && (!control || c.control == control)) ++n;
        return n;
    }
};

inline ParentLog& parentLog() {
    static ParentLog log;
    return log;
}

inline LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ParentLog& log = parentLog();
    switch (message) {
        case WM_COMMAND:
            log.commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
            return 0;
        case WM_DRAWITEM:
            log.drawItems.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            log.colourRequests.push_back(message);
            if (!log.brush) break;
            SetTextColor(reinterpret_cast<HDC>(wParam), log.textColour);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(log.brush);
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A full-screen white top-level window of the test parent class, active, with a fresh log.
inline HWND makeParent() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = parentProc;
    cls.lpszClassName = u"ControlsParent";
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&cls);
    parentLog() = ParentLog();
    HWND parent = CreateWindowExW(0, u"ControlsParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                  nullptr, nullptr);
    SetActiveWindow(parent);
    pumpMessages();
    return parent;
}

inline HWND makeControl(HWND parent, LPCWSTR cls, LPCWSTR text, DWORD style, int x, int y, int w, int h,
                        int id) {
    return CreateWindowExW(0, cls, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

inline std::u16string windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

inline void typeText(const std::u16string& text) {
    for (char16_t c : text)
        platform::injectChar(c);
    pumpMessages();
}

// The bounding box of the screen pixels inside area that differ from background; empty when none.
inline RECT inkBounds(const RECT& area, COLORREF background) {
    RECT ink{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (platform::testing::screenPixel(x, y) == background) continue;
            ink.left = std::min<LONG>(ink.left, x);
            ink.top = std::min<LONG>(ink.top, y);
            ink.right = std::max<LONG>(ink.right, x + 1);
            ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    }
    if (ink.right <= ink.left) ink = RECT{0, 0, 0, 0};
    return ink;
}

inline int countPixels(const RECT& area, COLORREF colour) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (platform::testing::screenPixel(x, y) == colour) ++n;
    return n;
}

}  // namespace controlstest
