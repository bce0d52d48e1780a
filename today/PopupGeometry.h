// The pop-up text window's geometry as plain numbers: the work area it must stay in, its button row,
// whether its text scrolls, and where it goes around the point it was asked for.
#pragma once

#include <vector>

#include "platform/wingdi.h"

namespace today {

// The button row: every button as wide as the widest caption's button, spaced by gap with gap at
// both ends; when that row is wider than maxWidth, every width is reduced by the same amount so
// that it fits (never below one pixel). The row is the tallest button plus pad above and below.
struct ButtonRow {
    int buttonWidth = 0;
    int buttonHeight = 0;
    int width = 0;
    int height = 0;
};
ButtonRow layoutButtonRow(const std::vector<SIZE>& buttons, int maxWidth, int gap, int pad);

// Whether lines of text fit in room pixels (lineHeight each): when they do not, the text scrolls
// with as many lines per page as fit (at least 1) and a scroll range of the lines beyond one page.
struct TextScroll {
    bool scrolls = false;
    int linesPerPage = 0;
    int range = 0;
};
TextScroll textScroll(int lines, int lineHeight, int room);

// The pop-up's top-left corner for a window of size around anchor: left of the anchor but not left
// of the work area; above it, or, when that leaves the work area, below it, and at the work area's
// top when it does not fit there either.
POINT placePopup(POINT anchor, SIZE window, const RECT& work);

// The work area from the input panel's information: the visible desktop, less the menu bar's 26
// pixels at the bottom while the input panel is down.
RECT popupWorkArea(const RECT& visibleDesktop, bool inputPanelShown);

}  // namespace today
