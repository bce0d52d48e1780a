// The pop-up's text view.
#include "PopupText.h"

#include <algorithm>

#include "ScrollTarget.h"
#include "platform/windows.h"

namespace today {

PopupText::PopupText(MarkupLayout& block, MarkupFonts& fonts, int textWidth)
    : m_block(block), m_fonts(fonts), m_textWidth(textWidth) {}

void PopupText::setLines(int lines, int linesPerPage) {
    m_lines = lines;
    m_perPage = std::max(1, linesPerPage);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, lines - 1);
    info.nPage = static_cast<UINT>(m_perPage);
    info.nPos = m_first;
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
}

void PopupText::scrollTo(int line) {
    line = std::clamp(line, 0, maxFirstLine());
    if (line == m_first) return;
    m_first = line;
    SetScrollPos(m_window, SB_VERT, m_first, TRUE);
    InvalidateRect(m_window, nullptr, TRUE);
}

void PopupText::scrolled(WORD code, int position) {
    if (code == SB_ENDSCROLL) {
        PostMessageW(GetParent(m_window), kMsgPopupScrollEnded, 0, 0);
        return;
    }
    const std::optional<int> target = scrollTarget(code, position, m_first, 1, m_perPage, maxFirstLine());
    if (target) scrollTo(*target);
}

void PopupText::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    RECT text{0, -m_first * m_block.lineHeight(), m_textWidth, client.bottom};
    m_block.layout(dc, m_fonts, &text, kLayoutWordBreak);
    EndPaint(m_window, &ps);
}

LRESULT PopupText::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_VSCROLL:
            scrolled(LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
            return 0;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace today
