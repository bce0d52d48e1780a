// The pop-up's geometry.
#include "PopupGeometry.h"

#include <algorithm>

namespace today {

namespace {

constexpr int kMenuBarHeight = 26;

}  // namespace

ButtonRow layoutButtonRow(const std::vector<SIZE>& buttons, int maxWidth, int gap, int pad) {
    ButtonRow row;
    if (buttons.empty()) return row;
    for (const SIZE& button : buttons) {
        row.buttonWidth = std::max(row.buttonWidth, static_cast<int>(button.cx));
        row.buttonHeight = std::max(row.buttonHeight, static_cast<int>(button.cy));
    }
    const int count = static_cast<int>(buttons.size());
    const int gaps = (count + 1) * gap;
    if (count * row.buttonWidth + gaps > maxWidth) row.buttonWidth = std::max(1, (maxWidth - gaps) / count);
    row.width = count * row.buttonWidth + gaps;
    row.height = row.buttonHeight + 2 * pad;
    return row;
}

TextScroll textScroll(int lines, int lineHeight, int room) {
    TextScroll scroll;
    if (lineHeight <= 0 || lines * lineHeight <= room) return scroll;
    scroll.scrolls = true;
    scroll.linesPerPage = std::max(1, room / lineHeight);
    scroll.range = std::max(0, lines - scroll.linesPerPage);
    return scroll;
}

POINT placePopup(POINT anchor, SIZE window, const RECT& work) {
    POINT at{std::max(anchor.x - window.cx, work.left), anchor.y - window.cy};
    if (at.y < work.top) {
        at.y = anchor.y;
        if (at.y + window.cy > work.bottom) at.y = work.top;
    }
    return at;
}

RECT popupWorkArea(const RECT& visibleDesktop, bool inputPanelShown) {
    RECT work = visibleDesktop;
    if (!inputPanelShown) work.bottom -= kMenuBarHeight;
    return work;
}

}  // namespace today
