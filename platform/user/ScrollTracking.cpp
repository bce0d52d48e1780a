// The stylus on a window scroll bar. A press on an arrow sends SB_LINEUP / SB_LINEDOWN, on the track
// SB_PAGEUP / SB_PAGEDOWN, each repeated on the platform clock while held (the page repeat stops
// once the thumb reaches the stylus); dragging the thumb sends SB_THUMBTRACK with each new position
// and SB_THUMBPOSITION at the release; every release ends with SB_ENDSCROLL. The window moves the
// thumb itself (SetScrollInfo), as on the device.

#include <algorithm>

#include "ScrollBars.h"

namespace platform::user {

namespace {

constexpr UINT kRepeatDelayMs = 400;
constexpr UINT kRepeatMs = 100;

struct Track {
    HWND window = nullptr;
    int bar = SB_VERT;
    ScrollPart part = ScrollPart::None;
    int grab = 0;  // where along the thumb the stylus took it
    POINT last{};  // the stylus, screen coordinates
    UINT_PTR timer = 0;
};

Track g_track;  // guarded by the window manager's lock

UINT scrollMessage(int bar) {
    return bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
}

int codeOf(ScrollPart part) {
    switch (part) {
        case ScrollPart::LineUp:
            return SB_LINEUP;
        case ScrollPart::LineDown:
            return SB_LINEDOWN;
        case ScrollPart::PageUp:
            return SB_PAGEUP;
        case ScrollPart::PageDown:
            return SB_PAGEDOWN;
        default:
            return -1;
    }
}

void send(HWND window, int bar, int code, int position) {
    SendMessageW(window, scrollMessage(bar), MAKEWPARAM(code, position), 0);
}

void CALLBACK repeat(HWND, UINT, UINT_PTR, DWORD);

void restartTimer(UINT elapse) {
    if (g_track.timer) KillTimer(nullptr, g_track.timer);
    g_track.timer = SetTimer(nullptr, 0, elapse, repeat);
}

// Under the lock: the part now under the stylus, with the bar as the window's data has it now.
ScrollPart partUnderStylus() {
    Window* w = find(g_track.window);
    ScrollGeometry g;
    if (!w || !scrollGeometry(w, g_track.bar, w->scroll[g_track.bar].pos, g)) return ScrollPart::None;
    return scrollPartAt(g, alongBar(g, g_track.bar, g_track.last));
}

void endTrack() {
    if (g_track.timer) KillTimer(nullptr, g_track.timer);
    g_track = Track{};
}

// A repeat tick: the same line or page step again while the stylus still holds that part.
void CALLBACK repeat(HWND, UINT, UINT_PTR, DWORD) {
    Lock lock = lockState();
    HWND window = g_track.window;
    if (!window || !find(window) || state().capture != window) {
        endTrack();
        return;
    }
    restartTimer(kRepeatMs);
    int bar = g_track.bar;
    ScrollPart part = g_track.part;
    bool still = partUnderStylus() == part;
    int position = find(window)->scroll[bar].pos;
    lock.unlock();
    if (still) send(window, bar, codeOf(part), position);
}

void press(HWND window, int bar, POINT screen) {
    ScrollPart part;
    int position;
    {
        Lock lock = lockState();
        Window* w = find(window);
        ScrollGeometry g;
        if (!w || !scrollGeometry(w, bar, w->scroll[bar].pos, g)) return;
        part = scrollPartAt(g, alongBar(g, bar, screen));
        if (part == ScrollPart::None) return;  // nothing to scroll: the bar is disabled
        endTrack();
        position = w->scroll[bar].pos;
        w->scroll[bar].trackPos = position;
        g_track = Track{window, bar, part, alongBar(g, bar, screen) - g.thumbStart, screen, 0};
        if (part != ScrollPart::Thumb) restartTimer(kRepeatDelayMs);
    }
    SetCapture(window);
    if (part != ScrollPart::Thumb) send(window, bar, codeOf(part), position);
    paintScrollBars(window);
}

// The position whose thumb starts where the stylus now puts it.
int draggedPosition(const Window* w, int bar, POINT screen) {
    const ScrollData& data = w->scroll[bar];
    ScrollGeometry g;
    if (!scrollGeometry(w, bar, data.pos, g) || !g.thumbLength) return data.pos;
    int room = g.trackLength() - g.thumbLength;
    int span = data.max - data.min + 1 - std::max(static_cast<int>(data.page), 1);
    if (room <= 0 || span <= 0) return data.pos;
    int start = std::clamp(alongBar(g, bar, screen) - g_track.grab - g.arrow, 0, room);
    return data.min + (start * span + room / 2) / room;
}

void drag(HWND window, POINT screen) {
    int position;
    int bar;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w || g_track.window != window) return;
        g_track.last = screen;
        if (g_track.part != ScrollPart::Thumb) return;
        bar = g_track.bar;
        position = draggedPosition(w, bar, screen);
        if (position == w->scroll[bar].trackPos) return;
        w->scroll[bar].trackPos = position;
    }
    send(window, bar, SB_THUMBTRACK, position);
    paintScrollBars(window);
}

void release(HWND window) {
    Track ended;
    int trackPos;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w || g_track.window != window) return;
        ended = g_track;
        trackPos = w->scroll[ended.bar].trackPos;
        endTrack();
    }
    ReleaseCapture();
    if (ended.part == ScrollPart::Thumb) send(window, ended.bar, SB_THUMBPOSITION, trackPos);
    send(window, ended.bar, SB_ENDSCROLL, 0);
    paintScrollBars(window);
}

}  // namespace

int scrollTrackingHit(HWND window) {
    if (!window || g_track.window != window) return 0;
    return g_track.bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
}

int stylusScrollHit(const Window* w, POINT screen) {
    if (state().capture == w->handle) return scrollTrackingHit(w->handle);
    // Without capture, a stylus event over a bar is the bar's too: the release of a quick tap may
    // be queued before the press has taken the capture.
    RECT client = clientRectScreen(w);
    if (PtInRect(&client, screen)) return 0;
    int bar = scrollBarAt(w, screen);
    return bar < 0 ? 0 : (bar == SB_VERT ? HTVSCROLL : HTHSCROLL);
}

void scrollTrackCaptureLost(HWND window) {
    Lock lock = lockState();
    if (g_track.window == window) endTrack();
}

ScrollPart heldScrollPart(HWND window, int bar, int& position) {
    if (g_track.window != window || g_track.bar != bar) return ScrollPart::None;
    if (g_track.part == ScrollPart::Thumb) {
        if (Window* w = find(window)) position = w->scroll[bar].trackPos;
    }
    return g_track.part;
}

void trackScrollBar(HWND window, UINT message, WPARAM hit, LPARAM screenPoint) {
    POINT screen{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (message == WM_NCLBUTTONDOWN && (hit == HTVSCROLL || hit == HTHSCROLL))
        press(window, hit == HTVSCROLL ? SB_VERT : SB_HORZ, screen);
    else if (message == WM_NCMOUSEMOVE)
        drag(window, screen);
    else if (message == WM_NCLBUTTONUP)
        release(window);
}

}  // namespace platform::user
