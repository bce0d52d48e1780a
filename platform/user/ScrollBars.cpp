// Window scroll bars: geometry from the scroll data (arrows as long as the bar is thick, a thumb
// proportional to the page, at least kMinThumbUnits long), drawing in the non-client area, and
// showing or hiding a bar when its range changes.

#include "ScrollBars.h"

#include <algorithm>

#include "../display/Screen.h"

namespace platform::user {

namespace {

constexpr int kMinThumbUnits = 8;

int thickness(int bar) {
    return GetSystemMetrics(bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
}

bool hasBar(const Window* w, int bar) {
    return w && (w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL));
}

// Positions the data allows: min..min + span.
int spanOf(const ScrollData& data) {
    int range = data.max - data.min + 1;
    return range - std::max(static_cast<int>(data.page), 1);
}

void placeThumb(const ScrollData& data, int position, int bar, ScrollGeometry& g) {
    int track = g.trackLength();
    int span = spanOf(data);
    g.enabled = span > 0;
    if (span <= 0 || track <= 0) return;
    int range = data.max - data.min + 1;
    int length =
        data.page ? static_cast<int>(static_cast<long long>(track) * data.page / range) : thickness(bar);
    length = std::min(std::max(length, Screen::instance().scale(kMinThumbUnits)), track);
    int offset = std::clamp(position - data.min, 0, span);
    g.thumbLength = length;
    g.thumbStart = g.arrow + static_cast<int>(static_cast<long long>(track - length) * offset / span);
}

}  // namespace

bool scrollGeometry(const Window* w, int bar, int position, ScrollGeometry& g) {
    if (!hasBar(w, bar)) return false;
    RECT client = clientRectScreen(w);
    int size = thickness(bar);
    g = ScrollGeometry{};
    g.bar = bar == SB_VERT ? RECT{client.right, client.top, client.right + size, client.bottom}
                           : RECT{client.left, client.bottom, client.right, client.bottom + size};
    g.length = bar == SB_VERT ? g.bar.bottom - g.bar.top : g.bar.right - g.bar.left;
    g.arrow = std::min(size, g.length / 2);
    placeThumb(w->scroll[bar], position, bar, g);
    return true;
}

int scrollBarAt(const Window* w, POINT screen) {
    for (int bar : {SB_VERT, SB_HORZ}) {
        ScrollGeometry g;
        if (scrollGeometry(w, bar, w->scroll[bar].pos, g) && PtInRect(&g.bar, screen)) return bar;
    }
    return -1;
}

int alongBar(const ScrollGeometry& g, int bar, POINT screen) {
    return bar == SB_VERT ? screen.y - g.bar.top : screen.x - g.bar.left;
}

ScrollPart scrollPartAt(const ScrollGeometry& g, int along) {
    if (!g.enabled || along < 0 || along >= g.length) return ScrollPart::None;
    if (along < g.arrow) return ScrollPart::LineUp;
    if (along >= g.length - g.arrow) return ScrollPart::LineDown;
    if (!g.thumbLength) return ScrollPart::None;
    if (along < g.thumbStart) return ScrollPart::PageUp;
    if (along >= g.thumbStart + g.thumbLength) return ScrollPart::PageDown;
    return ScrollPart::Thumb;
}

namespace {

// A rectangle of the bar from..to along it, in the window DC's coordinates.
RECT spanRect(const ScrollGeometry& g, int bar, int from, int to, POINT origin) {
    RECT r = bar == SB_VERT ? RECT{g.bar.left, g.bar.top + from, g.bar.right, g.bar.top + to}
                            : RECT{g.bar.left + from, g.bar.top, g.bar.left + to, g.bar.bottom};
    OffsetRect(&r, -origin.x, -origin.y);
    return r;
}

void frameBox(HDC hdc, const RECT& r, int faceColour) {
    FillRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    RECT face = r;
    InflateRect(&face, -1, -1);
    FillRect(hdc, &face, GetSysColorBrush(faceColour));
}

// A solid triangle in the arrow box pointing to the bar's start (up, left) or end (down, right).
void drawArrowGlyph(HDC hdc, const RECT& box, int bar, bool towardsStart, bool enabled) {
    int cx = (box.left + box.right) / 2;
    int cy = (box.top + box.bottom) / 2;
    int half = std::max(2, static_cast<int>(std::min(box.right - box.left, box.bottom - box.top)) / 4);
    int tip = towardsStart ? -half / 2 - 1 : half / 2 + 1;
    POINT points[3];
    if (bar == SB_VERT)
        points[0] = {cx, cy + tip}, points[1] = {cx - half, cy - tip}, points[2] = {cx + half, cy - tip};
    else
        points[0] = {cx + tip, cy}, points[1] = {cx - tip, cy - half}, points[2] = {cx - tip, cy + half};
    HBRUSH brush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    Polygon(hdc, points, 3);
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
}

struct BarPicture {
    ScrollGeometry geometry;
    ScrollPart held = ScrollPart::None;
};

void drawBar(HDC hdc, int bar, const BarPicture& picture, POINT origin) {
    const ScrollGeometry& g = picture.geometry;
    RECT whole = spanRect(g, bar, 0, g.length, origin);
    FillRect(hdc, &whole, GetSysColorBrush(COLOR_SCROLLBAR));
    bool enabled = g.enabled;
    RECT first = spanRect(g, bar, 0, g.arrow, origin);
    RECT last = spanRect(g, bar, g.length - g.arrow, g.length, origin);
    frameBox(hdc, first, picture.held == ScrollPart::LineUp ? COLOR_BTNSHADOW : COLOR_BTNFACE);
    frameBox(hdc, last, picture.held == ScrollPart::LineDown ? COLOR_BTNSHADOW : COLOR_BTNFACE);
    drawArrowGlyph(hdc, first, bar, true, enabled);
    drawArrowGlyph(hdc, last, bar, false, enabled);
    if (enabled)
        frameBox(hdc, spanRect(g, bar, g.thumbStart, g.thumbStart + g.thumbLength, origin), COLOR_BTNFACE);
}

}  // namespace

void paintScrollBars(HWND window) {
    BarPicture pictures[2];
    bool present[2] = {false, false};
    RECT corner{};
    POINT origin{};
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return;
        RECT frame = windowRectScreen(w);
        origin = POINT{frame.left, frame.top};
        for (int bar : {SB_HORZ, SB_VERT}) {
            int position = w->scroll[bar].pos;
            pictures[bar].held = heldScrollPart(window, bar, position);
            present[bar] = scrollGeometry(w, bar, position, pictures[bar].geometry);
        }
        if (present[SB_HORZ] && present[SB_VERT])
            corner = RECT{pictures[SB_VERT].geometry.bar.left, pictures[SB_HORZ].geometry.bar.top,
                          pictures[SB_VERT].geometry.bar.right, pictures[SB_HORZ].geometry.bar.bottom};
    }
    if (!present[SB_HORZ] && !present[SB_VERT]) return;
    HDC hdc = GetWindowDC(window);
    if (!hdc) return;
    for (int bar : {SB_HORZ, SB_VERT})
        if (present[bar]) drawBar(hdc, bar, pictures[bar], origin);
    OffsetRect(&corner, -origin.x, -origin.y);
    if (!IsRectEmpty(&corner)) FillRect(hdc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(window, hdc);
}

void updateScrollBarVisibility(HWND window, int bar, bool keepDisabled) {
    RECT client{};
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w || (bar != SB_VERT && bar != SB_HORZ)) return;
        DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
        bool needed = spanOf(w->scroll[bar]) > 0;
        bool shown = (w->style & bit) != 0;
        if (needed == shown || (!needed && keepDisabled)) return;
        w->style = needed ? (w->style | bit) : (w->style & ~bit);
        client = clientRectScreen(w);
        w->frameDirty = true;
    }
    SendMessageW(window, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(client.right - client.left, client.bottom - client.top));
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace platform::user

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
    std::vector<int> bars;
    if (bar == SB_BOTH)
        bars = {SB_HORZ, SB_VERT};
    else if (bar == SB_HORZ || bar == SB_VERT)
        bars = {bar};
    else
        return FALSE;
    RECT client{};
    {
        using namespace platform::user;
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return FALSE;
        for (int b : bars) {
            DWORD bit = b == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
            w->style = show ? (w->style | bit) : (w->style & ~bit);
        }
        client = clientRectScreen(w);
        w->frameDirty = true;
    }
    SendMessageW(window, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(client.right - client.left, client.bottom - client.top));
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}
