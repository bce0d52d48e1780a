// PressTracker: the held item, its pressed look and the capture handed back at the end of a press.

#include "PressTracker.h"

void PressTracker::begin(HWND window, int item) {
    m_held = item;
    m_pressedLook = true;
    HWND previous = SetCapture(window);
    if (previous != window) m_previousCapture = previous;
}

bool PressTracker::follow(bool inside) {
    if (m_held < 0 || inside == m_pressedLook) return false;
    m_pressedLook = inside;
    return true;
}

int PressTracker::end(HWND window) {
    // The state is cleared before the capture moves: losing the capture notifies the window, which
    // must then find no press left to drop.
    HWND previous = m_previousCapture;
    int held = drop();
    if (GetCapture() != window) return held;
    ReleaseCapture();
    if (previous != nullptr && IsWindow(previous)) SetCapture(previous);
    return held;
}

int PressTracker::drop() {
    int held = m_held;
    m_held = -1;
    m_pressedLook = false;
    m_previousCapture = nullptr;
    return held;
}
