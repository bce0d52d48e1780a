// The header bar's painting (the bitmap from the left edge, its last column continued to a wider
// client area, the title in font 0) and its one item, the settings title.
#include "HeaderBar.h"

#include <string>

#include "ScreenMetrics.h"
#include "ShellCommands.h"

namespace shell {

HeaderBar::~HeaderBar() {
    destroy();
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
}

bool HeaderBar::create(HWND parent, HINSTANCE resources) {
    UINT id = screenMetrics().highResolution ? kBitmapHeaderBarHigh : kBitmapHeaderBar;
    m_bitmap = LoadBitmapW(resources, MAKEINTRESOURCEW(id));
    BITMAP info{};
    if (m_bitmap == nullptr || GetObjectW(m_bitmap, sizeof(info), &info) == 0) return false;
    m_bitmapWidth = info.bmWidth;
    m_height = info.bmHeight;
    LoadStringW(resources, kStringSettingsTitle, m_title, 64);
    RECT client{};
    GetClientRect(parent, &client);
    RECT rect{0, 0, client.right, m_height};
    return WindowObject::create(0, u"HeaderBar", WS_CHILD, rect, parent, kCmdSettings) != nullptr;
}

RECT HeaderBar::titleArea() const {
    RECT client{};
    GetClientRect(m_window, &client);
    HDC hdc = GetDC(m_window);
    HGDIOBJ previous = SelectObject(hdc, sharedFont(0));
    SIZE extent{};
    GetTextExtentPoint32W(hdc, m_title, static_cast<int>(std::char_traits<char16_t>::length(m_title)),
                          &extent);
    SelectObject(hdc, previous);
    ReleaseDC(m_window, hdc);
    return RECT{client.right - extent.cx - scaleX(4), 0, client.right, client.bottom};
}

void HeaderBar::paint(HDC hdc) {
    RECT client{};
    GetClientRect(m_window, &client);
    HDC source = CreateCompatibleDC(hdc);
    HGDIOBJ previous = SelectObject(source, m_bitmap);
    BitBlt(hdc, 0, 0, m_bitmapWidth, m_height, source, 0, 0, SRCCOPY);
    if (client.right > m_bitmapWidth)
        StretchBlt(hdc, m_bitmapWidth, 0, client.right - m_bitmapWidth, m_height, source, m_bitmapWidth - 1,
                   0, 1, m_height, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    RECT title = titleArea();
    HGDIOBJ font = SelectObject(hdc, sharedFont(0));
    SetTextColor(hdc, kHeaderTitleColour);
    SetBkMode(hdc, TRANSPARENT);
    DrawTextW(hdc, m_title, -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, font);
}

LRESULT HeaderBar::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(window, &ps);
            paint(hdc);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN: {
            // The item has no pressed look, so it acts as soon as the stylus goes down on it.
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT title = titleArea();
            if (PtInRect(&title, point))
                SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(kCmdSettings, 0),
                             reinterpret_cast<LPARAM>(window));
            return 0;
        }
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace shell
