// FingerScrollBar: the geometry of arrows, track and thumb, their drawing, and the stylus handling
// with its repeat timer.

#include "FingerScrollBar.h"

#include <algorithm>

#include "ControlMessages.h"
#include "ScreenMetrics.h"

namespace {

constexpr int kArrowUnits = 20;
constexpr int kMinThumbUnits = 15;
constexpr int kArrowLines = 4;  // the arrow's triangle: lines 1, 3, 5 and 7 units long
constexpr int kGripLines = 3;
constexpr int kGripUnits = 7;
constexpr int kGripGapUnits = 2;

// Fills the edges of rect, thickness pixels wide, with brush.
void frame(HDC hdc, const RECT& rect, int thickness, HBRUSH brush) {
    RECT edges[] = {{rect.left, rect.top, rect.right, rect.top + thickness},
                    {rect.left, rect.bottom - thickness, rect.right, rect.bottom},
                    {rect.left, rect.top, rect.left + thickness, rect.bottom},
                    {rect.right - thickness, rect.top, rect.right, rect.bottom}};
    for (const RECT& edge : edges)
        FillRect(hdc, &edge, brush);
}

// An outlined box: black edges scaleX(1) wide around a fill.
void box(HDC hdc, const RECT& rect, COLORREF fill) {
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
    frame(hdc, rect, scaleX(1), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

POINT pointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

bool FingerScrollBar::create(HWND parent, const RECT& rect) {
    return ControlBase::create(parent, rect, u"ScrollBar");
}

void FingerScrollBar::setRange(int range, int page) {
    m_range = std::max(0, range);
    m_page = std::max(0, page);
    m_position = std::clamp(m_position, 0, std::max(0, m_range - m_page));
    repaint(false);
}

void FingerScrollBar::setPosition(int position) {
    position = std::clamp(position, 0, std::max(0, m_range - m_page));
    if (position == m_position) return;
    m_position = position;
    repaint(false);
}

RECT FingerScrollBar::upArrowRect() const {
    RECT client{};
    GetClientRect(m_window, &client);
    return RECT{0, 0, client.right, std::min<LONG>(client.bottom, scaleY(kArrowUnits))};
}

RECT FingerScrollBar::downArrowRect() const {
    RECT client{};
    GetClientRect(m_window, &client);
    return RECT{0, std::max<LONG>(0, client.bottom - scaleY(kArrowUnits)), client.right, client.bottom};
}

int FingerScrollBar::trackTop() const {
    return upArrowRect().bottom - scaleY(1);
}

int FingerScrollBar::trackBottom() const {
    return downArrowRect().top + scaleY(1);
}

RECT FingerScrollBar::thumbRect() const {
    int length = trackBottom() - trackTop();
    if (m_range <= m_page || length <= 0) return RECT{0, 0, 0, 0};
    int height = static_cast<int>(static_cast<long long>(length) * m_page / m_range);
    height = std::min(length, std::max(height, scaleY(kMinThumbUnits)));
    int top = trackTop() +
              static_cast<int>(static_cast<long long>(length - height) * m_position / (m_range - m_page));
    RECT client{};
    GetClientRect(m_window, &client);
    return RECT{0, top, client.right, std::min(top + height, trackBottom())};
}

FingerScrollBar::Part FingerScrollBar::partAt(POINT point) const {
    RECT client{};
    GetClientRect(m_window, &client);
    if (!PtInRect(&client, point)) return Part::None;
    RECT up = upArrowRect();
    RECT down = downArrowRect();
    if (PtInRect(&up, point)) return Part::UpArrow;
    if (PtInRect(&down, point)) return Part::DownArrow;
    RECT thumb = thumbRect();
    if (IsRectEmpty(&thumb)) return Part::None;
    if (PtInRect(&thumb, point)) return Part::Thumb;
    return point.y < thumb.top ? Part::TrackAbove : Part::TrackBelow;
}

void FingerScrollBar::draw(HDC hdc) {
    RECT client{};
    GetClientRect(m_window, &client);
    box(hdc, client, RGB(255, 255, 255));
    drawArrow(hdc, upArrowRect(), true, m_held == Part::UpArrow);
    drawArrow(hdc, downArrowRect(), false, m_held == Part::DownArrow);
    drawThumb(hdc);
}

void FingerScrollBar::drawArrow(HDC hdc, const RECT& area, bool up, bool held) {
    box(hdc, area, held ? RGB(0, 0, 0) : kPartColor);
    HBRUSH ink = static_cast<HBRUSH>(GetStockObject(held ? WHITE_BRUSH : BLACK_BRUSH));
    int centreX = (area.left + area.right) / 2;
    int top = (area.top + area.bottom) / 2 - scaleY(kArrowLines) / 2;
    for (int i = 0; i < kArrowLines; ++i) {
        // Line i from the tip is 2i + 1 units long; the tip points up or down.
        int row = up ? i : kArrowLines - 1 - i;
        int half = scaleX(2 * i + 1) / 2;
        int y = top + scaleY(row);
        RECT line{centreX - half, y, centreX - half + scaleX(2 * i + 1), y + scaleY(1)};
        FillRect(hdc, &line, ink);
    }
}

void FingerScrollBar::drawThumb(HDC hdc) {
    RECT thumb = thumbRect();
    if (IsRectEmpty(&thumb)) return;
    box(hdc, thumb, kPartColor);
    int width = scaleX(kGripUnits);
    int left = (thumb.left + thumb.right - width) / 2;
    int span = scaleY(kGripGapUnits) * (kGripLines - 1) + scaleY(1);
    int top = (thumb.top + thumb.bottom - span) / 2;
    for (int i = 0; i < kGripLines; ++i) {
        int y = top + i * scaleY(kGripGapUnits);
        RECT grip{left, y, left + width, y + scaleY(1)};
        FillRect(hdc, &grip, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
}

LRESULT FingerScrollBar::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(pointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(pointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            stylusUp();
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) stylusUp();
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer && !scrollOnce()) KillTimer(window, kRepeatTimer);
            return 0;
        default:
            return ControlBase::windowProc(window, message, wParam, lParam);
    }
}

void FingerScrollBar::stylusDown(POINT point) {
    Part part = partAt(point);
    if (part == Part::None) return;
    m_held = part;
    m_pressY = point.y;
    m_trackPosition = m_position;
    SetCapture(m_window);
    if (part == Part::Thumb) {
        m_grab = point.y - thumbRect().top;
    } else {
        repaint(true);
        if (scrollOnce()) SetTimer(m_window, kRepeatTimer, kRepeatMs, nullptr);
    }
}

void FingerScrollBar::stylusMove(POINT point) {
    if (m_held != Part::Thumb) return;
    RECT thumb = thumbRect();
    int travel = trackBottom() - trackTop() - (thumb.bottom - thumb.top);
    if (travel <= 0) return;
    long long moved = point.y - m_grab - trackTop();
    int position = static_cast<int>(moved * (m_range - m_page) / travel);
    position = std::clamp(position, 0, m_range - m_page);
    if (position == m_trackPosition) return;
    m_trackPosition = position;
    request(SB_THUMBTRACK);
}

void FingerScrollBar::stylusUp() {
    if (m_held == Part::None) return;
    m_held = Part::None;
    KillTimer(m_window, kRepeatTimer);
    if (GetCapture() == m_window) ReleaseCapture();
    repaint(true);
    HWND parent = GetParent(m_window);
    if (parent != nullptr) PostMessageW(parent, WM_SCROLLBAR_RELEASED, 0, 0);
}

bool FingerScrollBar::scrollOnce() {
    switch (m_held) {
        case Part::UpArrow:
            request(SB_LINEUP);
            return true;
        case Part::DownArrow:
            request(SB_LINEDOWN);
            return true;
        case Part::TrackAbove:
            if (thumbRect().top <= m_pressY) return false;
            request(SB_PAGEUP);
            return true;
        case Part::TrackBelow:
            if (thumbRect().bottom >= m_pressY) return false;
            request(SB_PAGEDOWN);
            return true;
        default:
            return false;
    }
}

void FingerScrollBar::request(int code) {
    HWND parent = GetParent(m_window);
    if (parent == nullptr) return;
    SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(code, m_trackPosition & 0xFFFF),
                 reinterpret_cast<LPARAM>(m_window));
}
