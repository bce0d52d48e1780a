// Window scroll bars (WS_VSCROLL, WS_HSCROLL) in the non-client area: their geometry (arrows at both
// ends, a thumb sized by the page), drawing, showing and hiding as the range asks, and the stylus
// tracking that turns presses and drags into WM_VSCROLL / WM_HSCROLL.
#pragma once

#include "WindowManager.h"

namespace platform::user {

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// A bar's layout along its axis, in pixels from the bar's start (top or left).
struct ScrollGeometry {
    RECT bar{};          // screen rectangle of the whole bar
    int length = 0;      // along the axis
    int arrow = 0;       // each arrow's length
    int thumbStart = 0;  // 0 with thumbLength 0: no thumb (nothing to scroll)
    int thumbLength = 0;
    bool enabled = false;  // the range leaves something to scroll

    int trackLength() const { return length - 2 * arrow; }
};

// Under the lock. The bar's layout, drawing the thumb at position (the scroll position, or the
// track position while the thumb is dragged). False when the window has no such bar.
bool scrollGeometry(const Window* w, int bar, int position, ScrollGeometry& geometry);
// Under the lock. The bar (SB_VERT, SB_HORZ) under a screen point, or -1.
int scrollBarAt(const Window* w, POINT screen);
// Under the lock. The part of the bar at a distance along it.
ScrollPart scrollPartAt(const ScrollGeometry& geometry, int along);
// Under the lock. Distance along the bar of a screen point.
int alongBar(const ScrollGeometry& geometry, int bar, POINT screen);
// Under the lock: the hit code (HTVSCROLL, HTHSCROLL) of the bar the window is tracking, 0 when
// the stylus is not held on one of its bars.
int scrollTrackingHit(HWND window);

// Under the lock: the part of the bar the stylus holds (None when it holds none); while the thumb
// is dragged, position becomes the track position.
ScrollPart heldScrollPart(HWND window, int bar, int& position);

// Under the lock: the hit code a stylus event at a screen point is for, when it belongs to a scroll
// bar of w (w holds the capture while tracking one, or the stylus is over a bar); else 0.
int stylusScrollHit(const Window* w, POINT screen);
// The window lost the capture: a tracking of its bar ends without further messages.
void scrollTrackCaptureLost(HWND window);

// Draws the window's scroll bars (part of WM_NCPAINT).
void paintScrollBars(HWND window);
// Adds or removes the bar (its style bit) as its data needs it: a range with nothing to scroll hides
// it, unless keepDisabled. A change resizes the client area (WM_SIZE) and repaints the window.
void updateScrollBarVisibility(HWND window, int bar, bool keepDisabled);
// The default window procedure's WM_NCLBUTTONDOWN / WM_NCMOUSEMOVE / WM_NCLBUTTONUP on a bar.
void trackScrollBar(HWND window, UINT message, WPARAM hit, LPARAM screenPoint);

}  // namespace platform::user
