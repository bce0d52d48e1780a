// Painting the item: the icon column, the launch button and the two lines of text, over the home
// screen's watermark that WM_ERASEBKGND asked for.
#include "ItemText.h"
#include "TodayItem.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr COLORREF kSelectionColour = RGB(0, 0, 128);
constexpr COLORREF kSelectedTextColour = RGB(255, 255, 255);
constexpr int kIconOffset = 2;
constexpr int kIconSize = 16;
constexpr int kLaunchIconSize = 32;
constexpr LONG kNormalWeight = 400;
constexpr LONG kBoldWeight = 700;

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

constexpr COLORREF kRedName = RGB(250, 10, 10);

void drawLine(HDC dc, HFONT font, const std::u16string& text, RECT rect) {
    if (text.empty()) return;
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
}

int textWidth(HDC dc, const std::u16string& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

// The names as far as they fit the rectangle, one after another, red ones in red.
void drawNames(HDC dc, HFONT font, const std::vector<ListedName>& names, COLORREF colour, const RECT& rect) {
    HGDIOBJ old = SelectObject(dc, font);
    const auto pieces =
        fitNames(names, rect.right - rect.left, [dc](const std::u16string& t) { return textWidth(dc, t); });
    int x = rect.left;
    for (const LinePiece& piece : pieces) {
        SetTextColor(dc, piece.red ? kRedName : colour);
        ExtTextOutW(dc, x, rect.top, ETO_CLIPPED, &rect, piece.text.c_str(),
                    static_cast<UINT>(piece.text.size()), nullptr);
        x += textWidth(dc, piece.text);
    }
    SelectObject(dc, old);
}

}  // namespace

void TodayItem::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    const RECT all = client();
    paintSetupArea(dc, all);
    paintLaunchButton(dc);
    paintText(dc, all);
    EndPaint(m_window, &ps);
}

void TodayItem::paintSetupArea(HDC dc, const RECT& client) {
    if (m_area == Area::Setup) fill(dc, m_layout.setupArea(client), kSelectionColour);
    if (m_icon != nullptr) ImageList_Draw(m_icon, 0, dc, kIconOffset, kIconOffset, ILD_TRANSPARENT);
}

void TodayItem::paintLaunchButton(HDC dc) {
    const RECT rect = buttonRect();
    if (m_area == Area::Launch) fill(dc, rect, kSelectionColour);
    const int shift = m_button == ButtonState::Held ? 1 : 0;
    if (m_launchIcon != nullptr)
        ImageList_Draw(m_launchIcon, 0, dc, rect.left + shift, rect.top + shift, ILD_TRANSPARENT);
    // The released look is painted once; the button is then back to its rest state.
    if (m_button == ButtonState::Released) m_button = ButtonState::None;
}

void TodayItem::paintText(HDC dc, const RECT& client) {
    const RECT area = m_layout.textArea(client);
    COLORREF colour = kSelectedTextColour;
    if (m_area == Area::Text)
        fill(dc, area, kSelectionColour);
    else
        colour =
            static_cast<COLORREF>(SendMessageW(GetParent(m_window), TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0));
    const ItemLines lines = itemLines(m_data);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const int top = m_layout.firstLineTop(client);
    const int height = m_layout.lineHeight();
    HFONT first = makeFont(lines.firstBold);
    HFONT second = makeFont(false);
    drawLine(dc, first, lines.first, RECT{area.left, top, area.right, top + height});
    const RECT secondLine{area.left, top + height, area.right, top + 2 * height};
    if (lines.names.empty())
        drawLine(dc, second, lines.second, secondLine);
    else
        drawNames(dc, second, lines.names, colour, secondLine);
    DeleteObject(first);
    DeleteObject(second);
}

void TodayItem::loadImages() {
    const bool high = m_layout.highResolution();
    const int iconSize = high ? 2 * kIconSize : kIconSize;
    const int launchSize = high ? 2 * kLaunchIconSize : kLaunchIconSize;
    if (m_icon == nullptr)
        m_icon =
            ImageList_LoadBitmap(m_module, MAKEINTRESOURCEW(high ? kBitmapItemIconHigh : kBitmapItemIcon),
                                 iconSize, 0, kBitmapTransparent);
    if (m_launchIcon == nullptr)
        m_launchIcon =
            ImageList_LoadBitmap(m_module, MAKEINTRESOURCEW(high ? kBitmapLaunchHigh : kBitmapLaunch),
                                 launchSize, 0, kBitmapTransparent);
}

// The line height: the item font's character height plus its external leading.
void TodayItem::measureLineHeight() {
    HDC dc = GetDC(m_window);
    HFONT font = makeFont(false);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(m_window, dc);
    m_layout = ItemLayout(m_layout.dpiX(), m_layout.dpiY(), metrics.tmHeight + metrics.tmExternalLeading);
}

// The stock system font's face at 8 points.
HFONT TodayItem::makeFont(bool bold) const {
    LOGFONTW font{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfHeight = m_layout.fontHeight();
    font.lfWidth = 0;
    font.lfWeight = bold ? kBoldWeight : kNormalWeight;
    return CreateFontIndirectW(&font);
}

}  // namespace today
