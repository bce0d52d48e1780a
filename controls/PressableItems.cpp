// Press tracking shared by the windows of pressable items.
#include "PressableItems.h"

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
    int item = itemAt(point);
    if (item < 0) return;
    m_press.begin(m_window, item);
    invalidateItem(item);
}

void PressableItems::onMove(POINT point) {
    if (m_press.held() < 0 || GetCapture() != m_window) return;
    RECT rect = itemRect(m_press.held());
    if (m_press.follow(PtInRect(&rect, point) != FALSE)) invalidateItem(m_press.held());
}

void PressableItems::onUp(POINT point) {
    int held = m_press.end(m_window);
    if (held < 0) return;
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
            if (reinterpret_cast<HWND>(lParam) != window) invalidateItem(m_press.drop());
            return 0;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}
