// The default window procedure and CallWindowProcW: text storage, painting and erasing with the
// class brush, the border of framed windows, WM_MOVE/WM_SIZE from WM_WINDOWPOSCHANGED, focus on
// activation, WM_CLOSE and the standard controls' colours.

#include <algorithm>

#include "ScrollBars.h"
#include "WindowManager.h"

using namespace platform::user;

namespace {

HBRUSH classBrush(HWND window) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w || !w->cls->background) return nullptr;
    auto value = reinterpret_cast<uintptr_t>(w->cls->background);
    // The class may name a system colour as COLOR_xxx + 1.
    if (value > 0 && value <= COLOR_STATICTEXT + 1) return GetSysColorBrush(static_cast<int>(value - 1));
    return w->cls->background;
}

LRESULT eraseBackground(HWND window, HDC hdc) {
    HBRUSH brush = classBrush(window);
    if (!brush) return 0;
    RECT client;
    GetClientRect(window, &client);
    FillRect(hdc, &client, brush);
    return 1;
}

void paintFrame(HWND window) {
    HDC hdc = GetWindowDC(window);
    if (!hdc) return;
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT outer;
    GetWindowRect(window, &outer);
    int captionBottom = origin.y - outer.top;
    HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
    RECT edges[4] = {{0, 0, r.right, 1},
                     {0, r.bottom - 1, r.right, r.bottom},
                     {0, 0, 1, r.bottom},
                     {r.right - 1, 0, r.right, r.bottom}};
    for (const RECT& edge : edges)
        FillRect(hdc, &edge, frame);
    if (captionBottom > 1) {
        RECT caption{1, 1, r.right - 1, captionBottom};
        FillRect(hdc, &caption, GetSysColorBrush(COLOR_ACTIVECAPTION));
        int length = GetWindowTextLengthW(window);
        std::u16string text(static_cast<size_t>(length) + 1, u'\0');
        GetWindowTextW(window, text.data(), length + 1);
        SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
        SetBkMode(hdc, TRANSPARENT);
        caption.left += 4;
        DrawTextW(hdc, text.c_str(), length, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    ReleaseDC(window, hdc);
}

LRESULT controlColour(HDC hdc, int text, int background) {
    SetTextColor(hdc, GetSysColor(text));
    SetBkColor(hdc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT setText(HWND window, LPCWSTR text) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w) return FALSE;
    w->text = text ? std::u16string(text) : std::u16string();
    return TRUE;
}

LRESULT getText(HWND window, WPARAM bufferMax, LPWSTR buffer) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w || !buffer || bufferMax == 0) return 0;
    size_t count = std::min(w->text.size(), static_cast<size_t>(bufferMax - 1));
    std::copy_n(w->text.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

void positionChanged(HWND window, const WINDOWPOS* pos) {
    if (!pos) return;
    if (!(pos->flags & SWP_NOMOVE)) {
        POINT origin{0, 0};
        MapWindowPoints(window, coordinateParent(window), &origin, 1);
        SendMessageW(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (!(pos->flags & SWP_NOSIZE)) {
        RECT client;
        GetClientRect(window, &client);
        SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
}

void focusOnActivation(HWND window) {
    HWND focus = GetFocus();
    if (focus == window || IsChild(window, focus)) return;
    SetFocus(window);
}

}  // namespace

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_SETTEXT:
            return setText(window, reinterpret_cast<LPCWSTR>(lParam));
        case WM_GETTEXT:
            return getText(window, wParam, reinterpret_cast<LPWSTR>(lParam));
        case WM_GETTEXTLENGTH: {
            Lock lock = lockState();
            Window* w = find(window);
            return w ? static_cast<LRESULT>(w->text.size()) : 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return eraseBackground(window, reinterpret_cast<HDC>(wParam));
        case WM_NCPAINT:
            if (GetWindowLongW(window, GWL_STYLE) & WS_BORDER) paintFrame(window);
            paintScrollBars(window);
            return 0;
        case WM_NCLBUTTONDOWN:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONUP:
            trackScrollBar(window, message, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            scrollTrackCaptureLost(window);
            return 0;
        case WM_WINDOWPOSCHANGED:
            positionChanged(window, reinterpret_cast<const WINDOWPOS*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) focusOnActivation(window);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_MOUSEACTIVATE:
            return 1;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORMSGBOX:
            return controlColour(reinterpret_cast<HDC>(wParam), COLOR_STATICTEXT, COLOR_STATIC);
        case WM_CTLCOLORBTN:
            return controlColour(reinterpret_cast<HDC>(wParam), COLOR_BTNTEXT, COLOR_BTNFACE);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return controlColour(reinterpret_cast<HDC>(wParam), COLOR_WINDOWTEXT, COLOR_WINDOW);
        case WM_CTLCOLORSCROLLBAR:
            return controlColour(reinterpret_cast<HDC>(wParam), COLOR_WINDOWTEXT, COLOR_SCROLLBAR);
        default:
            return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!procedure) return DefWindowProcW(window, message, wParam, lParam);
    return procedure(window, message, wParam, lParam);
}
