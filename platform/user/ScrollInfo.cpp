// Scroll-bar state of windows (WS_HSCROLL/WS_VSCROLL bars): range, page and position, kept as data.
// The position is kept within min..max - page + 1 (min..max without a page). A range or page that
// leaves nothing to scroll hides the bar (unless SIF_DISABLENOSCROLL); one that needs it shows it.

#include <algorithm>

#include "ScrollBars.h"
#include "WindowManager.h"

using namespace platform::user;

namespace {

ScrollData* barOf(Window* w, int bar) {
    if (!w || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
    return &w->scroll[bar];
}

void clampPosition(ScrollData& data) {
    int top = data.max - std::max(static_cast<int>(data.page) - 1, 0);
    data.pos = std::clamp(data.pos, data.min, std::max(top, data.min));
}

}  // namespace

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    int pos;
    bool shown;
    {
        Lock lock = lockState();
        Window* w = find(window);
        ScrollData* data = barOf(w, bar);
        if (!data || !info) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (info->fMask & SIF_RANGE) {
            data->min = info->nMin;
            data->max = std::max(info->nMax, info->nMin);
        }
        if (info->fMask & SIF_PAGE)
            data->page = std::min<UINT>(info->nPage, static_cast<UINT>(data->max - data->min + 1));
        if (info->fMask & SIF_POS) data->pos = info->nPos;
        clampPosition(*data);
        pos = data->pos;
        shown = reallyVisible(w);
    }
    // A new range or page may make the bar needed or unneeded, which shows or hides it.
    if (info->fMask & (SIF_RANGE | SIF_PAGE))
        updateScrollBarVisibility(window, bar, (info->fMask & SIF_DISABLENOSCROLL) != 0);
    if (redraw && shown) paintScrollBars(window);
    return pos;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    Lock lock = lockState();
    ScrollData* data = barOf(find(window), bar);
    if (!data || !info) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return FALSE;
    }
    if (info->fMask & SIF_RANGE) {
        info->nMin = data->min;
        info->nMax = data->max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = data->page;
    if (info->fMask & SIF_POS) info->nPos = data->pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = data->trackPos;
    return TRUE;
}

int SetScrollPos(HWND window, int bar, int pos, BOOL redraw) {
    int previous = GetScrollPos(window, bar);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(window, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND window, int bar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    Lock lock = lockState();
    if (!barOf(find(window), bar)) return FALSE;
    SetScrollInfo(window, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, LPINT minPos, LPINT maxPos) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(window, bar, &info)) return FALSE;
    if (minPos) *minPos = info.nMin;
    if (maxPos) *maxPos = info.nMax;
    return TRUE;
}
