// The skin board's painting (slices of the skin bitmaps copied with BitBlt, texts in the program's
// fonts) and its window procedure with the stylus handling.
#include "SkinBoard.h"

namespace skinview {
namespace {

constexpr int kLabelInset = 3;     // units between a field's left edge and its label
constexpr UINT kRotated = 0x3002;  // WM_SETTINGCHANGE code of a screen rotation

struct FieldLabel {
    int row;
    bool rightHalf;
    const WCHAR* text;
};
constexpr FieldLabel kFieldLabels[] = {{0, false, u"Получатель"}, {1, false, u"Дата"},
                                       {1, true, u"Сумма"},       {2, false, u"Счет"},
                                       {3, false, u"Категория"},  {3, true, u"Проект"}};

void drawText(HDC hdc, HFONT font, COLORREF colour, const WCHAR* text, RECT box, UINT format) {
    HGDIOBJ previous = SelectObject(hdc, font);
    SetTextColor(hdc, colour);
    SetBkMode(hdc, TRANSPARENT);
    DrawTextW(hdc, text, -1, &box, format | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, previous);
}

// Copies the source bitmap's part at (sx, sy) of rect's size to rect.
void copy(HDC hdc, const RECT& rect, HDC source, HBITMAP bitmap, int sx, int sy) {
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, sx, sy, SRCCOPY);
    SelectObject(source, previous);
}

}  // namespace

void SkinBoard::paint(HDC hdc) {
    RECT client{};
    GetClientRect(m_window, &client);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HDC source = CreateCompatibleDC(hdc);
    if (source == nullptr) return;
    paintHeader(hdc, source);
    paintPanel(hdc, source);
    paintStrip(hdc, source);
    DeleteDC(source);
}

void SkinBoard::paintHeader(HDC hdc, HDC source) {
    RECT header = headerRect();
    SIZE size = bitmapSize(m_header);
    copy(hdc, RECT{0, 0, size.cx, size.cy}, source, m_header, 0, 0);
    if (header.right > size.cx) {
        // A screen wider than the bar: its last column continues to the right edge.
        HGDIOBJ previous = SelectObject(source, m_header);
        StretchBlt(hdc, size.cx, 0, header.right - size.cx, size.cy, source, size.cx - 1, 0, 1, size.cy,
                   SRCCOPY);
        SelectObject(source, previous);
    }
    WCHAR title[64] = {};
    LoadStringW(m_resources, kTitleString, title, 64);
    drawText(hdc, m_titleFont, kTitleColour, title, titleRect(), DT_LEFT | DT_VCENTER);
}

void SkinBoard::paintPanel(HDC hdc, HDC source) {
    for (int row = 0; row < 4; ++row)
        copy(hdc, rowRect(row), source, m_field, 0, 0);
    for (const FieldLabel& label : kFieldLabels) {
        RECT box = rowRect(label.row);
        if (label.rightHalf) box.left = (box.left + box.right) / 2;
        box.left += m_metrics.scaleX(kLabelInset);
        box.top += m_metrics.scaleY(1);
        drawText(hdc, m_labelFont, kLabelColour, label.text, box, DT_LEFT | DT_TOP);
    }
    copy(hdc, toggleRect(), source, m_toggleIsOn ? m_toggleOn : m_toggleOff, 0, 0);
}

void SkinBoard::paintStrip(HDC hdc, HDC source) {
    const StripSkin& skin = stripSkins()[static_cast<size_t>(m_strip)];
    RECT strip = stripRect();
    for (size_t i = 0; i < skin.buttons.size(); ++i) {
        RECT button = buttonRect(static_cast<int>(i));
        bool pressed = m_heldButton == static_cast<int>(i) && m_heldInside;
        HBITMAP look = (pressed ? m_stripPressed : m_stripNormal)[static_cast<size_t>(m_strip)];
        copy(hdc, button, source, look, button.left - strip.left, 0);
        drawText(hdc, m_buttonFont, skin.buttons[i].textColour, skin.buttons[i].label, button,
                 DT_CENTER | DT_VCENTER);
    }
}

void SkinBoard::stylusDown(POINT point) {
    RECT toggle = toggleRect(), title = titleRect();
    if (PtInRect(&toggle, point)) {
        m_toggleIsOn = !m_toggleIsOn;
        invalidate(toggle);
    } else if (PtInRect(&title, point)) {
        showStrip((m_strip + 1) % static_cast<int>(stripSkins().size()));
    } else if ((m_heldButton = buttonAt(point)) >= 0) {
        m_heldInside = true;
        SetCapture(m_window);
        invalidate(buttonRect(m_heldButton));
    }
}

void SkinBoard::stylusMove(POINT point) {
    if (m_heldButton < 0) return;
    RECT button = buttonRect(m_heldButton);
    bool inside = PtInRect(&button, point) != FALSE;
    if (inside == m_heldInside) return;
    m_heldInside = inside;
    invalidate(button);
}

void SkinBoard::stylusUp(POINT) {
    if (m_heldButton < 0) return;
    invalidate(buttonRect(m_heldButton));
    m_heldButton = -1;
    m_heldInside = false;
    if (GetCapture() == m_window) ReleaseCapture();
}

LRESULT CALLBACK SkinBoard::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* board = reinterpret_cast<SkinBoard*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (board == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return board->handle(message, wParam, lParam);
}

LRESULT SkinBoard::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(m_window, &ps);
            if (hdc != nullptr) paint(hdc);
            EndPaint(m_window, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            stylusDown(point);
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(point);
            return 0;
        case WM_LBUTTONUP:
            stylusUp(point);
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == kRotated)
                MoveWindow(m_window, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                           TRUE);
            return 0;
        case WM_DESTROY:
            m_window = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

}  // namespace skinview
