// TextLabel: a child window that draws one line of text in a chosen font, colours and alignment,
// and tells its parent when the stylus goes down on it.
#pragma once

#include "ControlBase.h"

// Alignment codes of a text label; any other code aligns left as well.
inline constexpr int kAlignRight = 0;
inline constexpr int kAlignCenter = 1;
inline constexpr int kAlignLeft = 2;

class TextLabel : public ControlBase {
  public:
    // The longest text a label keeps; longer texts are cut.
    static constexpr int kMaxText = 255;

    // Creates the label's window named text, showing text (cut to kMaxText characters); id is
    // reported in the notifications. False when the window cannot be created.
    bool create(HWND parent, const RECT& rect, LPCWSTR text, UINT labelId);

    // Replaces the text (cut to kMaxText characters; null is empty) and the window's name with it;
    // repaints, at once when now is set, otherwise at the next painting.
    void setText(LPCWSTR text, bool now);
    const WCHAR* text() const { return m_text; }
    void setTextColor(COLORREF color);
    // The font to draw with (owned by the creator, which keeps it alive while the label exists);
    // NULL draws with the device context's font.
    void setFont(HFONT font);
    // kAlignRight, kAlignCenter, or anything else for left.
    void setAlignment(int alignment);
    UINT labelId() const { return m_labelId; }

    // Fills the client rectangle with the background colour and draws the text over it, with the
    // background colour behind the text.
    void draw(HDC hdc) override;
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void storeText(LPCWSTR text);

    WCHAR m_text[kMaxText + 1] = {};
    COLORREF m_textColor = RGB(0, 0, 0);
    HFONT m_font = nullptr;
    int m_alignment = kAlignLeft;
    UINT m_labelId = 0;
    HWND m_previousCapture = nullptr;
};
