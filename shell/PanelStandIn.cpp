// The stand-in panels: a control base window created hidden in its colour.
#include "PanelStandIn.h"

#include "ScreenMetrics.h"
#include "ShellCommands.h"

namespace shell {
namespace {

// The page buttons: dialog ids, their texts' string ids and the main window's command each sends.
struct PageButton {
    int id;
    UINT text;
    UINT command;
};
constexpr PageButton kPageButtons[] = {{IDOK, 11, kCmdOk}, {IDCANCEL, 25219, kCmdClose}};
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 21;
constexpr int kButtonMargin = 8;

}  // namespace

bool PanelStandIn::create(HWND parent, const RECT& rect, LPCWSTR windowName, COLORREF colour) {
    setBackgroundColor(colour);
    if (!ControlBase::create(parent, rect, windowName)) return false;
    ShowWindow(m_window, SW_HIDE);
    return true;
}

bool PanelStandIn::addPageButtons(HINSTANCE resources) {
    int left = scaleX(kButtonMargin);
    for (const PageButton& button : kPageButtons) {
        WCHAR text[32] = {};
        LoadStringW(resources, button.text, text, 32);
        HWND key =
            CreateWindowExW(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, left,
                            scaleY(kButtonMargin), scaleX(kButtonWidth), scaleY(kButtonHeight), m_window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), nullptr, nullptr);
        if (key == nullptr) return false;
        SendMessageW(key, WM_SETFONT, reinterpret_cast<WPARAM>(sharedFont(6)), FALSE);
        left += scaleX(kButtonWidth + kButtonMargin);
    }
    return true;
}

LRESULT PanelStandIn::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        for (const PageButton& button : kPageButtons) {
            if (LOWORD(wParam) != button.id) continue;
            SendMessageW(GetParent(window), WM_COMMAND, button.command, reinterpret_cast<LPARAM>(window));
            return 0;
        }
    }
    return ControlBase::windowProc(window, message, wParam, lParam);
}

}  // namespace shell
