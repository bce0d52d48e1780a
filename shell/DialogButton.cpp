// The dialog button's sizing, its off-screen drawing (corners, frame, gradient face, top band,
// held look, icon, text) and its stylus handling.
#include "DialogButton.h"

#include "ScreenMetrics.h"
#include "Str.h"

namespace shell {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBandLight = RGB(242, 242, 242);
constexpr COLORREF kHeldBand = RGB(133, 133, 133);
constexpr COLORREF kHeldEdge = RGB(173, 173, 173);
constexpr int kMaxText = 256;

void fill(HDC hdc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT rect{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

int channelStep(int from, int to, int step, int steps) {
    return steps <= 0 ? from : from + (to - from) * step / steps;
}

COLORREF blend(COLORREF top, COLORREF bottom, int step, int steps) {
    return RGB(channelStep(GetRValue(top), GetRValue(bottom), step, steps),
               channelStep(GetGValue(top), GetGValue(bottom), step, steps),
               channelStep(GetBValue(top), GetBValue(bottom), step, steps));
}

}  // namespace

DialogButton::~DialogButton() {
    destroy();
    if (m_icon != nullptr) DeleteObject(m_icon);
}

bool DialogButton::create(HWND parent, LPCWSTR text, POINT position, UINT id, HINSTANCE resources) {
    m_id = id;
    m_resources = resources != nullptr ? resources : Str::resourceModule();
    if (m_font == nullptr) m_font = sharedFont(6);
    RECT rect{position.x, position.y, position.x + scaleX(kMinWidth), position.y + scaleY(kMinHeight)};
    if (WindowObject::create(0, text, WS_CHILD | WS_VISIBLE, rect, parent, id) == nullptr) return false;
    resize();
    return true;
}

void DialogButton::setFont(HFONT font) {
    m_font = font != nullptr ? font : sharedFont(6);
    resize();
}

bool DialogButton::setIcon(bool on) {
    if (on == hasIcon()) return true;
    if (on) {
        UINT id = screenMetrics().highResolution ? kIconHigh : kIcon;
        m_icon = LoadBitmapW(m_resources, MAKEINTRESOURCEW(id));
        if (m_icon == nullptr) return false;
    } else {
        DeleteObject(m_icon);
        m_icon = nullptr;
    }
    resize();
    return true;
}

void DialogButton::setText(LPCWSTR text) {
    if (m_window == nullptr) return;
    SetWindowTextW(m_window, text);
    resize();
}

void DialogButton::setBackgroundColor(COLORREF colour) {
    if (colour == m_background) return;
    m_background = colour;
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

void DialogButton::resize() {
    if (m_window == nullptr) return;
    WCHAR text[kMaxText] = {};
    int length = GetWindowTextW(m_window, text, kMaxText);
    HDC hdc = GetDC(m_window);
    HGDIOBJ previous = SelectObject(hdc, m_font);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, text, length, &extent);
    SelectObject(hdc, previous);
    ReleaseDC(m_window, hdc);
    int width = extent.cx + 2 * scaleX(kPaddingX) + (hasIcon() ? scaleX(kIconSize) : 0);
    int height = extent.cy + 2 * scaleY(kMarginY);
    if (width < scaleX(kMinWidth)) width = scaleX(kMinWidth);
    if (height < scaleY(kMinHeight)) height = scaleY(kMinHeight);
    if (height % 2 == 0) ++height;
    SetWindowPos(m_window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_window, nullptr, FALSE);
}

void DialogButton::drawFace(HDC hdc, int w, int h) const {
    // Rectangles are left, top, right, bottom with right and bottom exclusive.
    for (const RECT& corner :
         {RECT{0, 0, 1, 1}, RECT{w - 1, 0, w, 2}, RECT{w - 1, h - 1, w, h}, RECT{0, h - 1, 2, h}})
        fill(hdc, corner.left, corner.top, corner.right, corner.bottom, m_background);
    fill(hdc, 1, 0, w - 1, 1, kBlack);
    fill(hdc, 1, h - 1, w - 1, h, kBlack);
    fill(hdc, 0, 1, 1, h - 1, kBlack);
    fill(hdc, w - 1, 1, w, h - 1, kBlack);
    // The face steps linearly from its top colour to its bottom colour, one row at a time.
    const int rows = h - 1 - 3;
    for (int row = 0; row < rows; ++row)
        fill(hdc, 1, 3 + row, w - 1, 4 + row, blend(kFaceTop, kFaceBottom, row, rows - 1));
    if (!m_held) {
        fill(hdc, 1, 1, w - 1, 3, kWhite);
        fill(hdc, 2, 2, w - 2, 3, kBandLight);
        fill(hdc, 1, 3, 2, 4, kBandLight);
        fill(hdc, w - 2, 3, w - 1, 4, kBandLight);
    } else {
        fill(hdc, 1, 1, w - 1, 3, kHeldBand);
        fill(hdc, 2, 2, w - 2, 3, kHeldEdge);
        fill(hdc, 1, 3, 2, h - 1, kHeldEdge);
        fill(hdc, w - 2, 3, w - 1, h - 1, kHeldEdge);
    }
}

void DialogButton::drawIcon(HDC hdc, int w, int h) const {
    BITMAP info{};
    if (m_icon == nullptr || GetObjectW(m_icon, sizeof(info), &info) == 0) return;
    int size = scaleX(kIconSize);
    int right = w - size / 2;
    int top = (h - scaleY(kIconSize)) / 2;
    TransparentImage(hdc, right - size, top, size, scaleY(kIconSize), m_icon, 0, 0, info.bmWidth,
                     info.bmHeight, kIconTransparent);
}

void DialogButton::paint(HDC target) {
    RECT client{};
    GetClientRect(m_window, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    HDC hdc = CreateCompatibleDC(target);
    HBITMAP canvas = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ previousBitmap = SelectObject(hdc, canvas);
    drawFace(hdc, w, h);
    RECT textArea{0, 0, w, h};
    if (hasIcon()) {
        drawIcon(hdc, w, h);
        textArea.right = w - scaleX(kIconSize);
    }
    WCHAR text[kMaxText] = {};
    int length = GetWindowTextW(m_window, text, kMaxText);
    HGDIOBJ previousFont = SelectObject(hdc, m_font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kWhite);
    DrawTextW(hdc, text, length, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, previousFont);
    BitBlt(target, 0, 0, w, h, hdc, 0, 0, SRCCOPY);
    SelectObject(hdc, previousBitmap);
    DeleteObject(canvas);
    DeleteDC(hdc);
}

void DialogButton::setHeld(bool held) {
    if (held == m_held) return;
    m_held = held;
    InvalidateRect(m_window, nullptr, FALSE);
    UpdateWindow(m_window);
}

void DialogButton::click() {
    SendMessageW(GetParent(m_window), WM_COMMAND, MAKEWPARAM(m_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_window));
}

void DialogButton::onDown() {
    setHeld(true);
    if (hasIcon()) {
        // The owner opens its menu while the stylus is still down.
        click();
        if (m_window != nullptr) setHeld(false);
        return;
    }
    SetCapture(m_window);
}

void DialogButton::onMove(POINT point) {
    if (GetCapture() != m_window) return;
    RECT client{};
    GetClientRect(m_window, &client);
    setHeld(PtInRect(&client, point) != FALSE);
}

void DialogButton::onUp(POINT point) {
    if (GetCapture() != m_window) return;
    ReleaseCapture();
    RECT client{};
    GetClientRect(m_window, &client);
    setHeld(false);
    if (PtInRect(&client, point)) click();
}

LRESULT DialogButton::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
            onDown();
            return 0;
        case WM_MOUSEMOVE:
            onMove(point);
            return 0;
        case WM_LBUTTONUP:
            onUp(point);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) setHeld(false);
            return 0;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace shell
