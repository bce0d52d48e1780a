// ControlBase: child-window creation, the lazily created background brush and painting through draw.

#include "ControlBase.h"

ControlBase::~ControlBase() {
    destroy();
    if (m_backgroundBrush != nullptr) DeleteObject(m_backgroundBrush);
}

bool ControlBase::create(HWND parent, const RECT& rect, LPCWSTR windowName) {
    return WindowObject::create(0, windowName, WS_CHILD | WS_VISIBLE, rect, parent, 0) != nullptr;
}

void ControlBase::setBackgroundColor(COLORREF color) {
    if (color == m_backgroundColor) return;
    m_backgroundColor = color;
    if (m_backgroundBrush != nullptr) DeleteObject(m_backgroundBrush);
    m_backgroundBrush = nullptr;
    repaint(false);
}

HBRUSH ControlBase::backgroundBrush() {
    if (m_backgroundBrush == nullptr) m_backgroundBrush = CreateSolidBrush(m_backgroundColor);
    return m_backgroundBrush;
}

void ControlBase::draw(HDC hdc) {
    RECT client;
    GetClientRect(m_window, &client);
    FillRect(hdc, &client, backgroundBrush());
}

LRESULT ControlBase::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return WindowObject::windowProc(window, message, wParam, lParam);
    if (wParam != 0) {
        draw(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(window, &paint);
    if (hdc != nullptr) draw(hdc);
    EndPaint(window, &paint);
    return 0;
}

void ControlBase::repaint(bool now) {
    if (m_window == nullptr) return;
    InvalidateRect(m_window, nullptr, FALSE);
    if (now) UpdateWindow(m_window);
}

void ControlBase::notifyParent(UINT message, UINT id) const {
    if (m_window == nullptr) return;
    HWND parent = GetParent(m_window);
    if (parent != nullptr) PostMessageW(parent, message, id, 0);
}
