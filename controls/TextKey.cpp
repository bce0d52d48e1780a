// TextKey: text over an image key, the "^" two-line form, and fitting the shared fonts to the text.

#include "TextKey.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr WCHAR kLineBreak = u'^';
constexpr LONG kDefaultFontHeight = 19;
constexpr LONG kMinimumFitHeight = 9;
constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

HFONT createKeyFont(int weight) {
    return CreateFontW(kDefaultFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                       u"Times new roman");
}

// The font recreated with height (width 0, every other attribute kept); the old font is deleted.
// Keeps the old font when the new one cannot be created.
void recreateWithHeight(HFONT& font, LONG height) {
    LOGFONTW description{};
    if (GetObjectW(font, sizeof(description), &description) == 0) return;
    description.lfHeight = height;
    description.lfWidth = 0;
    HFONT replacement = CreateFontIndirectW(&description);
    if (replacement == nullptr) return;
    DeleteObject(font);
    font = replacement;
}

LONG fontHeight(HFONT font) {
    LOGFONTW description{};
    if (GetObjectW(font, sizeof(description), &description) == 0) return 0;
    return description.lfHeight;
}

int measure(HDC hdc, const WCHAR* text, int length) {
    SIZE size{};
    if (length <= 0 || !GetTextExtentPoint32W(hdc, text, length, &size)) return 0;
    return size.cx;
}

}  // namespace

bool TextKey::create(HWND parent, const RECT& rect, LPCWSTR windowName, LPCWSTR text, UINT keyId,
                     HFONT* normalFont, HFONT* pressedFont) {
    if (normalFont == nullptr || pressedFont == nullptr) return false;
    m_normalFont = normalFont;
    m_pressedFont = pressedFont;
    if (*m_normalFont == nullptr) *m_normalFont = createKeyFont(FW_NORMAL);
    if (*m_pressedFont == nullptr) *m_pressedFont = createKeyFont(FW_BOLD);
    if (!ImageKey::create(parent, rect, windowName, keyId)) return false;
    GetClientRect(m_window, &m_textRect);
    m_text = text;
    fitFonts();
    return true;
}

void TextKey::setText(LPCWSTR text) {
    if (m_text == text) return;
    m_text = text;
    fitFonts();
    repaint(false);
}

void TextKey::setTextRect(const RECT& rect) {
    m_textRect = rect;
    fitFonts();
    repaint(false);
}

void TextKey::draw(HDC hdc) {
    ImageKey::draw(hdc);
    if (m_text.isEmpty()) return;
    HFONT font = showsPressed() ? *m_pressedFont : *m_normalFont;
    HGDIOBJ previousFont = SelectObject(hdc, font);
    COLORREF previousColor = SetTextColor(hdc, RGB(255, 255, 255));
    int previousMode = SetBkMode(hdc, TRANSPARENT);
    int split = m_text.find(kLineBreak);
    if (split < 0) {
        RECT area = m_textRect;
        DrawTextW(hdc, m_text, m_text.length(), &area, kTextFormat);
    } else {
        LONG middle = m_textRect.top + (m_textRect.bottom - m_textRect.top) / 2;
        RECT upper{m_textRect.left, m_textRect.top, m_textRect.right, middle};
        RECT lower{m_textRect.left, middle, m_textRect.right, m_textRect.bottom};
        DrawTextW(hdc, m_text, split, &upper, kTextFormat);
        DrawTextW(hdc, m_text.c_str() + split + 1, m_text.length() - split - 1, &lower, kTextFormat);
    }
    SetBkMode(hdc, previousMode);
    SetTextColor(hdc, previousColor);
    if (previousFont != nullptr) SelectObject(hdc, previousFont);
}

int TextKey::textWidth(HFONT font) const {
    HDC hdc = CreateCompatibleDC(nullptr);
    if (hdc == nullptr) return 0;
    HGDIOBJ previous = SelectObject(hdc, font);
    int split = m_text.find(kLineBreak);
    int width = split < 0 ? measure(hdc, m_text, m_text.length())
                          : std::max(measure(hdc, m_text, split),
                                     measure(hdc, m_text.c_str() + split + 1, m_text.length() - split - 1));
    if (previous != nullptr) SelectObject(hdc, previous);
    DeleteDC(hdc);
    return width;
}

void TextKey::fitFonts() {
    if (m_normalFont == nullptr || *m_normalFont == nullptr) return;
    int room = m_textRect.right - m_textRect.left;
    LONG height = fontHeight(*m_normalFont);
    // A negative height is a character height: shrinking moves it towards zero as well.
    while (std::labs(height) >= kMinimumFitHeight && textWidth(*m_normalFont) > room) {
        LONG lower = height > 0 ? height - 1 : height + 1;
        recreateWithHeight(*m_normalFont, lower);
        LONG reached = fontHeight(*m_normalFont);
        if (reached == height) break;  // the font could not be recreated
        height = reached;
    }
    if (*m_pressedFont != nullptr && fontHeight(*m_pressedFont) != height)
        recreateWithHeight(*m_pressedFont, height);
}
