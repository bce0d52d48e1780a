// Painting the home screen: its background, a gradient that the items also get as their watermark,
// and the date line at the top.
#include "HomeScreen.h"
#include "platform/windows.h"

namespace todayscreen {

namespace {

constexpr COLORREF kTopColour = RGB(255, 255, 255);
constexpr COLORREF kBottomColour = RGB(206, 222, 244);
constexpr COLORREF kRuleColour = RGB(120, 140, 170);
constexpr int kHeaderMarginUnits = 4;
constexpr int kHeaderPoints = 9;

int mix(int from, int to, int at, int span) {
    return span <= 0 ? from : from + (to - from) * at / span;
}

}  // namespace

COLORREF HomeScreen::backgroundAt(int y) const {
    RECT client{};
    GetClientRect(m_window, &client);
    const int span = client.bottom - 1;
    const int at = y < 0 ? 0 : (y > span ? span : y);
    return RGB(mix(GetRValue(kTopColour), GetRValue(kBottomColour), at, span),
               mix(GetGValue(kTopColour), GetGValue(kBottomColour), at, span),
               mix(GetBValue(kTopColour), GetBValue(kBottomColour), at, span));
}

void HomeScreen::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    paintBackground(dc, ps.rcPaint, POINT{0, 0});
    paintHeader(dc);
    EndPaint(m_window, &ps);
}

// Fills rect of the DC row by row with the background of the home screen's rows at origin + y.
void HomeScreen::paintBackground(HDC dc, const RECT& rect, POINT origin) const {
    for (int y = rect.top; y < rect.bottom; ++y) {
        HBRUSH brush = CreateSolidBrush(backgroundAt(origin.y + y));
        const RECT row{rect.left, y, rect.right, y + 1};
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
}

void HomeScreen::paintHeader(HDC dc) const {
    const RECT header = headerRect();
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR date[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, date, 80);
    LOGFONTW face{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof face, &face);
    face.lfHeight = -scaleY(kHeaderPoints * 96 / 72);
    face.lfWeight = 700;
    HFONT font = CreateFontIndirectW(&face);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    RECT text = header;
    text.left += scaleY(kHeaderMarginUnits);
    DrawTextW(dc, date, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    DeleteObject(font);
    HBRUSH rule = CreateSolidBrush(kRuleColour);
    const RECT line{header.left, header.bottom - 1, header.right, header.bottom};
    FillRect(dc, &line, rule);
    DeleteObject(rule);
}

}  // namespace todayscreen
