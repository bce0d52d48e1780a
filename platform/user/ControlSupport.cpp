// Helpers the standard controls share: parent notifications, colours, fonts and stored text.

#include "ControlSupport.h"

#include "../display/Screen.h"

namespace platform::user {

void notifyParent(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (!parent) return;
    auto id = static_cast<WORD>(GetDlgCtrlID(control));
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH parentColours(HWND control, HDC hdc, UINT message) {
    HWND parent = GetParent(control);
    auto wParam = reinterpret_cast<WPARAM>(hdc);
    auto lParam = reinterpret_cast<LPARAM>(control);
    LRESULT brush = parent ? SendMessageW(parent, message, wParam, lParam) : 0;
    if (!brush) brush = DefWindowProcW(parent ? parent : control, message, wParam, lParam);
    return reinterpret_cast<HBRUSH>(brush);
}

std::u16string storedText(HWND window) {
    auto length = static_cast<size_t>(DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0));
    std::u16string text(length + 1, u'\0');
    auto copied = DefWindowProcW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

HFONT fontOrSystem(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

int scaled(int units) {
    return Screen::instance().scale(units);
}

}  // namespace platform::user
