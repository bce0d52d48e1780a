// ImageKey: stylus handling with capture (handed back to its previous holder), notifications to the
// parent and drawing of the current look's slice.

#include "ImageKey.h"

#include "ControlMessages.h"

namespace {

POINT pointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Where a slice of length size starts in an area of length room: centred when the area is larger.
int centredOffset(int room, int size) {
    return room > size ? (room - size) / 2 : 0;
}

}  // namespace

bool ImageKey::create(HWND parent, const RECT& rect, LPCWSTR windowName, UINT keyId) {
    m_keyId = keyId;
    return ControlBase::create(parent, rect, windowName);
}

void ImageKey::setImages(HBITMAP normal, HBITMAP pressed, const RECT& source) {
    if (normal == m_normal && pressed == m_pressed && EqualRect(&source, &m_source)) return;
    m_normal = normal;
    m_pressed = pressed;
    m_source = source;
    repaint(false);
}

void ImageKey::setTransparentColor(COLORREF color) {
    if (m_transparent && color == m_transparentColor) return;
    m_transparent = true;
    m_transparentColor = color;
    repaint(false);
}

void ImageKey::release() {
    endPress();
}

void ImageKey::draw(HDC hdc) {
    RECT client;
    GetClientRect(m_window, &client);
    HBITMAP image = showsPressed() ? m_pressed : m_normal;
    if (m_transparent || image == nullptr) FillRect(hdc, &client, backgroundBrush());
    if (image != nullptr) drawImage(hdc, image, client);
}

void ImageKey::drawImage(HDC hdc, HBITMAP image, const RECT& client) {
    int width = m_source.right - m_source.left;
    int height = m_source.bottom - m_source.top;
    if (width <= 0 || height <= 0) return;
    int x = centredOffset(client.right - client.left, width);
    int y = centredOffset(client.bottom - client.top, height);
    if (m_transparent) {
        TransparentImage(hdc, x, y, width, height, image, m_source.left, m_source.top, width, height,
                         m_transparentColor);
        return;
    }
    HDC source = CreateCompatibleDC(hdc);
    if (source == nullptr) return;
    HGDIOBJ previous = SelectObject(source, image);
    if (previous != nullptr) {
        BitBlt(hdc, x, y, width, height, source, m_source.left, m_source.top, SRCCOPY);
        SelectObject(source, previous);
    }
    DeleteDC(source);
}

LRESULT ImageKey::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            stylusDown();
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(pointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            stylusUp(pointOf(lParam));
            return 0;
        case BM_GETSTATE:
            return m_pushed ? BST_PUSHED : 0;
        case BM_SETSTATE:
            if ((wParam != 0) != m_pushed) {
                m_pushed = wParam != 0;
                repaint(false);
            }
            return 0;
        default:
            return ControlBase::windowProc(window, message, wParam, lParam);
    }
}

void ImageKey::stylusDown() {
    m_press.begin(m_window, 0);
    repaint(true);
    notifyParent(WM_KEY_PRESSED, m_keyId);
}

void ImageKey::stylusMove(POINT point) {
    if (GetCapture() != m_window) return;
    if (m_press.follow(contains(point))) repaint(true);
}

void ImageKey::stylusUp(POINT point) {
    endPress();
    notifyParent(WM_KEY_RELEASED, m_keyId);
    if (contains(point)) notifyParent(WM_KEY_CLICKED, m_keyId);
}

void ImageKey::endPress() {
    m_press.end(m_window);
    repaint(true);
}

bool ImageKey::contains(POINT point) const {
    RECT client;
    GetClientRect(m_window, &client);
    return PtInRect(&client, point);
}
