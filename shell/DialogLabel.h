// DialogLabel: a label of the settings page and the create dialogs: a platform static window whose
// painting is taken over: its text in a chosen font and colour, aligned as its static style says,
// optionally with a white shadow, or only a fill colour when it is opaque.
#pragma once

#include "WindowObject.h"

namespace shell {

class DialogLabel : public WindowObject {
  public:
    // Creates a visible static window ("Static") with the text, style (SS_LEFT, SS_CENTER or SS_RIGHT,
    // and SS_CENTERIMAGE for vertical centring), rect and id in parent, and takes over its painting.
    // False when the window cannot be created.
    bool create(LPCWSTR text, HWND parent, DWORD style, const RECT& rect, UINT id);

    // SS_LEFT, SS_CENTER or SS_RIGHT, with SS_CENTERIMAGE for vertical centring; repaints.
    void setAlignment(DWORD alignment);
    // The font to draw with (owned by the caller); null draws with the window's font. Repaints.
    void setFont(HFONT font);
    void setTextColor(COLORREF colour);
    // Draws the text a second time, in white, one pixel lower, under the text.
    void setShadow(bool shadow);
    // With the flag the label only shows the fill colour, whatever its text.
    void setOpaque(bool opaque, COLORREF fill);

    // Paints the label itself; text changes repaint it; every other message goes to the static
    // window's own procedure.
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint(HDC hdc);
    void repaint();

    HFONT m_font = nullptr;
    COLORREF m_textColor = RGB(0, 0, 0);
    bool m_shadow = false;
    bool m_opaque = false;
    COLORREF m_fill = RGB(255, 255, 255);
};

}  // namespace shell
