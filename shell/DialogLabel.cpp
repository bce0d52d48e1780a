// The dialog label's painting over its static window: the parent's static-control brush, the text
// aligned by the window's style, the shadow, and the opaque fill.
#include "DialogLabel.h"

namespace shell {
namespace {

constexpr DWORD kAlignmentMask = SS_CENTER | SS_RIGHT | SS_CENTERIMAGE;
constexpr int kMaxText = 256;

}  // namespace

bool DialogLabel::create(LPCWSTR text, HWND parent, DWORD style, const RECT& rect, UINT id) {
    return createWithClass(0, WC_STATIC, text, WS_CHILD | WS_VISIBLE | style, rect, parent, id) != nullptr;
}

void DialogLabel::repaint() {
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

void DialogLabel::setAlignment(DWORD alignment) {
    if (m_window == nullptr) return;
    DWORD style = static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE));
    SetWindowLongW(m_window, GWL_STYLE,
                   static_cast<LONG>((style & ~kAlignmentMask) | (alignment & kAlignmentMask)));
    repaint();
}

void DialogLabel::setFont(HFONT font) {
    m_font = font;
    repaint();
}

void DialogLabel::setTextColor(COLORREF colour) {
    m_textColor = colour;
    repaint();
}

void DialogLabel::setShadow(bool shadow) {
    m_shadow = shadow;
    repaint();
}

void DialogLabel::setOpaque(bool opaque, COLORREF fill) {
    m_opaque = opaque;
    m_fill = fill;
    repaint();
}

void DialogLabel::paint(HDC hdc) {
    RECT client{};
    GetClientRect(m_window, &client);
    if (m_opaque) {
        HBRUSH brush = CreateSolidBrush(m_fill);
        FillRect(hdc, &client, brush);
        DeleteObject(brush);
        return;
    }
    HWND parent = GetParent(m_window);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_window)));
    FillRect(hdc, &client, brush != nullptr ? brush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    WCHAR text[kMaxText] = {};
    int length = GetWindowTextW(m_window, text, kMaxText);
    HFONT font =
        m_font != nullptr ? m_font : reinterpret_cast<HFONT>(SendMessageW(m_window, WM_GETFONT, 0, 0));
    HGDIOBJ previousFont = font != nullptr ? SelectObject(hdc, font) : nullptr;
    SIZE extent{};
    GetTextExtentPoint32W(hdc, text, length, &extent);
    DWORD style = static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE));
    int x = 0;
    DWORD horizontal = style & (SS_CENTER | SS_RIGHT);
    if (horizontal == SS_RIGHT)
        x = client.right - extent.cx;
    else if (horizontal == SS_CENTER)
        x = (client.right - extent.cx) / 2;
    int y = (style & SS_CENTERIMAGE) != 0 ? (client.bottom - extent.cy) / 2 : 0;
    if (y < 0) y = 0;
    SetBkMode(hdc, TRANSPARENT);
    if (m_shadow) {
        SetTextColor(hdc, RGB(255, 255, 255));
        ExtTextOutW(hdc, x, y + 1, ETO_CLIPPED, &client, text, static_cast<UINT>(length), nullptr);
    }
    SetTextColor(hdc, m_textColor);
    ExtTextOutW(hdc, x, y, ETO_CLIPPED, &client, text, static_cast<UINT>(length), nullptr);
    if (previousFont != nullptr) SelectObject(hdc, previousFont);
}

LRESULT DialogLabel::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
        case WM_SETTEXT: {
            LRESULT result = WindowObject::windowProc(window, message, wParam, lParam);
            repaint();
            return result;
        }
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace shell
