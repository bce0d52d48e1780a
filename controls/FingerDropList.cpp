// FingerDropList: its geometry, the page keys with their repeat, and the stylus routing while it
// holds the capture.

#include "FingerDropList.h"

#include <algorithm>

#include "ControlMessages.h"
#include "ScreenMetrics.h"

namespace {

// Bitmap ids of the page keys' images (normal look, pressed look; high-resolution variants).
constexpr UINT kPageKeysNormal = 166;
constexpr UINT kPageKeysPressed = 163;
constexpr UINT kPageKeysNormalHigh = 186;
constexpr UINT kPageKeysPressedHigh = 187;

constexpr int kKeyWidthUnits = 44;
constexpr int kKeyHeightUnits = 77;
constexpr int kDownKeyTopUnits = 79;
constexpr int kLeftOfOwnerUnits = 29;
constexpr int kBelowOwnerTopUnits = 14;
constexpr int kRows = FingerListView::kVisibleRows;

POINT pointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

UINT_PTR repeatTimerOf(UINT keyId) {
    return keyId;  // timer 1 repeats page up, timer 2 page down
}

}  // namespace

FingerDropList::~FingerDropList() {
    destroy();
    for (HBITMAP bitmap : {m_normal, m_pressed})
        if (bitmap != nullptr) DeleteObject(bitmap);
    if (m_background != nullptr) DeleteObject(m_background);
}

bool FingerDropList::create(HWND owner, HINSTANCE resources) {
    if (m_window != nullptr) return true;
    m_owner = owner;
    bool high = screenMetrics().highResolution;
    m_normal = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? kPageKeysNormalHigh : kPageKeysNormal));
    m_pressed = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? kPageKeysPressedHigh : kPageKeysPressed));
    if (m_normal == nullptr || m_pressed == nullptr) return false;
    m_background = CreateSolidBrush(kBackground);
    int listWidth = scaleX(kRowWidthUnits);
    int rowHeight = scaleY(kRowHeightUnits);
    RECT rect{0, 0, scaleX(kKeyWidthUnits) + scaleX(2) + listWidth, kRows * rowHeight + scaleY(2)};
    if (WindowObject::create(0, u"FingerDropList", WS_POPUP, rect, owner, 0) == nullptr) return false;
    m_view.setFitToCount(true);
    if (!m_view.create(m_window, scaleX(1), scaleY(1), listWidth, rowHeight)) return false;
    // Each key shows its half of the images: the upper half pages up, the lower half down.
    int factor = high ? 2 : 1;
    struct KeyPlace {
        ImageKey* key;
        const WCHAR* name;
        UINT id;
        int topUnits;
        RECT source;
    };
    const KeyPlace keys[] = {
        {&m_up, u"Up", kPageUpKey, 1, RECT{0, 0, 44 * factor, 77 * factor}},
        {&m_down, u"Down", kPageDownKey, kDownKeyTopUnits, RECT{0, 78 * factor, 44 * factor, 155 * factor}}};
    for (const KeyPlace& place : keys) {
        int left = listWidth + scaleX(1);
        int top = scaleY(place.topUnits);
        RECT keyRect{left, top, left + scaleX(kKeyWidthUnits), top + scaleY(kKeyHeightUnits)};
        place.key->setBackgroundColor(kBackground);
        if (!place.key->create(m_window, keyRect, place.name, place.id)) return false;
        place.key->setImages(m_normal, m_pressed, place.source);
    }
    return true;
}

bool FingerDropList::isShown() const {
    return m_window != nullptr && (GetWindowLongW(m_window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void FingerDropList::show(const RECT& ownerScreen) {
    if (m_window == nullptr || isShown()) return;
    RECT rect{};
    GetWindowRect(m_window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    // Kept on the screen, so that a combo box near an edge still opens a usable list.
    int left = std::clamp<int>(ownerScreen.left - scaleX(kLeftOfOwnerUnits), 0,
                               std::max(0, GetSystemMetrics(SM_CXSCREEN) - width));
    int top = std::clamp<int>(ownerScreen.top + scaleY(kBelowOwnerTopUnits), 0,
                              std::max(0, GetSystemMetrics(SM_CYSCREEN) - height));
    m_previousFocus = GetFocus();
    m_armed = false;
    SetWindowPos(m_window, HWND_TOP, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetCapture(m_window);
    SetFocus(m_view.window());
}

void FingerDropList::hide() {
    if (!isShown()) return;
    for (UINT key : {kPageUpKey, kPageDownKey})
        KillTimer(m_window, repeatTimerOf(key));
    HWND capture = GetCapture();
    if (capture != nullptr && (capture == m_window || IsChild(m_window, capture))) ReleaseCapture();
    ShowWindow(m_window, SW_HIDE);
    HWND focus = m_previousFocus;
    m_previousFocus = nullptr;
    if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
}

LRESULT FingerDropList::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            onStylus(message, wParam, pointOf(lParam));
            return 0;
        case WM_KEY_PRESSED:
            // A page key pages once at once and then every kPageRepeatMs while held.
            m_view.page(wParam == kPageUpKey ? -1 : 1);
            SetTimer(window, repeatTimerOf(static_cast<UINT>(wParam)), kPageRepeatMs, nullptr);
            return 0;
        case WM_KEY_RELEASED:
            KillTimer(window, repeatTimerOf(static_cast<UINT>(wParam)));
            SetFocus(m_view.window());
            return 0;
        case WM_TIMER:
            if (wParam == repeatTimerOf(kPageUpKey) || wParam == repeatTimerOf(kPageDownKey))
                m_view.page(wParam == repeatTimerOf(kPageUpKey) ? -1 : 1);
            return 0;
        case WM_LIST_CONFIRMED:
        case WM_LIST_NOTIFY:
            PostMessageW(m_owner, message, wParam, lParam);
            return 0;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

void FingerDropList::onStylus(UINT message, WPARAM wParam, POINT point) {
    // A down arms the list; an up counts only after a down of its own, so the lift of the tap that
    // opened the list does nothing.
    if (message == WM_LBUTTONDOWN) {
        m_armed = true;
    } else {
        if (!m_armed) return;
        m_armed = false;
    }
    RECT client{};
    GetClientRect(m_window, &client);
    if (PtInRect(&client, point))
        forwardToChild(message, wParam, point);
    else
        PostMessageW(m_owner, WM_DROPLIST_CLOSE, 0, 0);
}

void FingerDropList::forwardToChild(UINT message, WPARAM wParam, POINT point) {
    HWND child = ChildWindowFromPoint(m_window, point);
    if (child == nullptr || child == m_window) return;
    // The child gets the point in its own client coordinates.
    POINT local = point;
    MapWindowPoints(m_window, child, &local, 1);
    SendMessageW(child, message, wParam, MAKELPARAM(local.x, local.y));
}

void FingerDropList::paint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_window, &ps);
    if (hdc != nullptr) {
        RECT client{};
        GetClientRect(m_window, &client);
        FillRect(hdc, &client, m_background);
    }
    EndPaint(m_window, &ps);
}
