// Where a vertical scroll bar's request (WM_VSCROLL's code and thumb position) moves a view that
// scrolls by line and by page, shared by the details list and the pop-up text.
#pragma once

#include <optional>

#include "platform/windows.h"

namespace today {

// The position the request asks for, from current, with lineStep and pageStep per line and page and
// last as the bottom; nothing for a code that does not move the view.
inline std::optional<int> scrollTarget(WORD code, int thumb, int current, int lineStep, int pageStep,
                                       int last) {
    switch (code) {
        case SB_LINEUP:
            return current - lineStep;
        case SB_LINEDOWN:
            return current + lineStep;
        case SB_PAGEUP:
            return current - pageStep;
        case SB_PAGEDOWN:
            return current + pageStep;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            return thumb;
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return last;
        default:
            return std::nullopt;
    }
}

}  // namespace today
