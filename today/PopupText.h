// The text view inside the pop-up: draws the block from its first visible line and, when the block is
// taller than the view, scrolls it by lines with its vertical scroll bar.
#pragma once

#include "MarkupLayout.h"
#include "WindowObject.h"

namespace today {

class PopupText : public WindowObject {
  public:
    // The block is drawn with word break in textWidth pixels with fonts (both outlive the view).
    PopupText(MarkupLayout& block, MarkupFonts& fonts, int textWidth);

    // The scroll bar's range: linesPerPage of lines are shown (no bar when all are).
    void setLines(int lines, int linesPerPage);
    int firstLine() const { return m_first; }
    // Moves the first visible line (clamped to the range) and repaints when it changed.
    void scrollTo(int line);
    int maxFirstLine() const { return m_lines > m_perPage ? m_lines - m_perPage : 0; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint();
    void scrolled(WORD code, int position);

    MarkupLayout& m_block;
    MarkupFonts& m_fonts;
    int m_textWidth;
    int m_lines = 0;
    int m_perPage = 0;
    int m_first = 0;
};

// Sent to the pop-up when the user let go of the text view's scroll bar, so that it takes the stylus
// back.
inline constexpr UINT kMsgPopupScrollEnded = WM_USER + 1;

}  // namespace today
