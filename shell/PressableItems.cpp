// Press tracking shared by the windows of pressable items.
#include "PressableItems.h"

namespace shell {

void PressableItems::invalidateItem(int index) {
    if (index < 0) return;
    RECT rect = itemRect(index);
    InvalidateRect(m_window, &rect, FALSE);
}

int PressableItems::itemAt(POINT point) const {
    for (int i = 0; i < itemCount(); ++i) {
        RECT rect = itemRect(i);
        if (PtInRect(&rect, point)) return i;
    }
    return -1;
}

void PressableItems::onDown(POINT point) {
    if (takeStylusDown(point)) return;
    m_held = itemAt(point);
    if (m_held < 0) return;
    m_pressedLook = true;
    SetCapture(m_window);
    invalidateItem(m_held);
}

void PressableItems::onMove(POINT point) {
    if (m_held < 0 || GetCapture() != m_window) return;
    RECT rect = itemRect(m_held);
    bool inside = PtInRect(&rect, point) != FALSE;
    if (inside == m_pressedLook) return;
    m_pressedLook = inside;
    invalidateItem(m_held);
}

void PressableItems::onUp(POINT point) {
    int held = m_held;
    if (held < 0) return;
    m_held = -1;
    m_pressedLook = false;
    if (GetCapture() == m_window) ReleaseCapture();
    invalidateItem(held);
    RECT rect = itemRect(held);
    if (!PtInRect(&rect, point)) return;
    SendMessageW(GetParent(m_window), WM_COMMAND, MAKEWPARAM(itemCommand(held), 0),
                 reinterpret_cast<LPARAM>(m_window));
}

LRESULT PressableItems::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(window, &ps);
            paint(hdc);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            onDown(point);
            return 0;
        case WM_MOUSEMOVE:
            onMove(point);
            return 0;
        case WM_LBUTTONUP:
            onUp(point);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window && m_held >= 0) {
                invalidateItem(m_held);
                m_held = -1;
                m_pressedLook = false;
            }
            return 0;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace shell
