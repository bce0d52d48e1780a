// The system class "Static": text laid out as DrawTextW does (alignment, word wrap, vertical
// centring of one line, prefixes), a bitmap (SS_BITMAP), the background and colours the parent
// gives through WM_CTLCOLORSTATIC, and click notifications with SS_NOTIFY.

#include "ControlSupport.h"

namespace platform::user {

namespace {

struct StaticState {
    HFONT font = nullptr;
    HBITMAP image = nullptr;
};

ControlTable<StaticState>& statics() {
    static auto* table = new ControlTable<StaticState>();
    return *table;
}

// The DrawTextW format for the static's style.
UINT textFormat(DWORD style) {
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER:
            format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
            break;
        case SS_RIGHT:
            format = DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS;
            break;
        case SS_SIMPLE:
            format = DT_LEFT | DT_SINGLELINE;
            break;
        case SS_LEFTNOWORDWRAP:
            format = DT_LEFT | DT_EXPANDTABS;
            break;
        default:
            format = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
            break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_VCENTER | DT_SINGLELINE;
    return format;
}

void drawImage(HDC hdc, const RECT& client, HBITMAP image, DWORD style) {
    BITMAP info{};
    if (!image || !GetObjectW(image, sizeof(info), &info)) return;
    int x = 0;
    int y = 0;
    if (style & SS_CENTERIMAGE) {
        x = (client.right - info.bmWidth) / 2;
        y = (client.bottom - info.bmHeight) / 2;
    }
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, image);
    BitBlt(hdc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void paint(HWND window) {
    StaticState& state = statics().of(window);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(window, &ps);
    if (!hdc) return;
    RECT client;
    GetClientRect(window, &client);
    DWORD style = styleOf(window);
    FillRect(hdc, &client, parentColours(window, hdc, WM_CTLCOLORSTATIC));
    if ((style & SS_TYPEMASK) == SS_BITMAP) {
        drawImage(hdc, client, state.image, style);
    } else if ((style & SS_TYPEMASK) != SS_ICON) {
        if (style & WS_DISABLED) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        HGDIOBJ oldFont = SelectObject(hdc, fontOrSystem(state.font));
        std::u16string text = storedText(window);
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &client, textFormat(style));
        SelectObject(hdc, oldFont);
    }
    EndPaint(window, &ps);
}

LRESULT setImage(HWND window, WPARAM type, LPARAM image) {
    if (type != IMAGE_BITMAP) return 0;
    StaticState& state = statics().of(window);
    HBITMAP previous = state.image;
    state.image = reinterpret_cast<HBITMAP>(image);
    InvalidateRect(window, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT click(HWND window, WORD code) {
    if (styleOf(window) & SS_NOTIFY) notifyParent(window, code);
    return 0;
}

}  // namespace

LRESULT CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the background is filled while painting, with the parent's brush
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        case WM_SETFONT:
            statics().of(window).font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(statics().of(window).font);
        case STM_SETIMAGE:
            return setImage(window, wParam, lParam);
        case STM_GETIMAGE:
            return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(statics().of(window).image) : 0;
        case WM_LBUTTONDOWN:
            return click(window, STN_CLICKED);
        case WM_LBUTTONDBLCLK:
            return click(window, STN_DBLCLK);
        case WM_ENABLE:
            InvalidateRect(window, nullptr, TRUE);
            return click(window, wParam ? STN_ENABLE : STN_DISABLE);
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_NCDESTROY:
            statics().erase(window);
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace platform::user
