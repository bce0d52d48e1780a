// The details' title strip.
#include "TitleStrip.h"

#include "platform/windows.h"

namespace today {

namespace {

constexpr int kPoints = 9;
constexpr int kHeight = 24;     // units
constexpr int kTextIndent = 6;  // units
constexpr COLORREF kTitleColour = RGB(0, 0, 128);
constexpr COLORREF kLineColour = RGB(0, 0, 0);
constexpr COLORREF kBackground = RGB(255, 255, 255);

}  // namespace

TitleStrip::TitleStrip(std::u16string title)
    : m_title(std::move(title)),
      m_scale(ScreenScale::current()),
      m_font(createTahoma(m_scale, kPoints, true)) {}

TitleStrip::~TitleStrip() {
    destroy();
    if (m_font != nullptr) DeleteObject(m_font);
}

HWND TitleStrip::create(HWND owner, int width) {
    return WindowObject::create(0, kTitleStripName, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height()}, owner,
                                0);
}

int TitleStrip::height() const {
    return m_scale.scaleY(kHeight);
}

void TitleStrip::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT text{m_scale.scaleX(kTextIndent), 0, client.right, client.bottom - 1};
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTitleColour);
    DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    HPEN pen = CreatePen(PS_SOLID, 1, kLineColour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, client.bottom - 1, nullptr);
    LineTo(dc, client.right, client.bottom - 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    EndPaint(m_window, &ps);
}

LRESULT TitleStrip::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace today
