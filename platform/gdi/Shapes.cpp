// Filled and outlined shapes: FillRect, Rectangle, RoundRect, Ellipse, Polygon, lines with the pen,
// focus rectangles and single pixels.
#include <algorithm>
#include <cmath>
#include <vector>

#include "DeviceContext.h"
#include "Raster.h"

using namespace platform;
using namespace platform::gdi;

namespace {

// A dashed pen draws kDashOn pixels, then leaves kDashOff.
constexpr int kDashOn = 6;
constexpr int kDashOff = 3;
constexpr uintptr_t kSysColorBrushLimit = 32;

struct PenStroke {
    DeviceContext& dc;
    uint32_t pixel;
    int width;
    bool dashed;
    int step = 0;

    // Draws the pen's square at the surface point, following the dash pattern.
    void stamp(int x, int y) {
        bool on = !dashed || step % (kDashOn + kDashOff) < kDashOn;
        ++step;
        if (!on) return;
        if (width == 1) {
            plot(dc.surface(), dc.clip(), x, y, pixel, dc.state().rop2);
            return;
        }
        int half = width / 2;
        fillRectRop2(dc.surface(), dc.clip(), RECT{x - half, y - half, x - half + width, y - half + width},
                     pixel, dc.state().rop2);
    }

    // Bresenham from (x0, y0) towards (x1, y1), logical coordinates, without the last pixel.
    void line(int x0, int y0, int x1, int y1) {
        x0 += dc.offsetX();
        x1 += dc.offsetX();
        y0 += dc.offsetY();
        y1 += dc.offsetY();
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        while (x0 != x1 || y0 != y1) {
            stamp(x0, y0);
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
};

PenStroke strokeOf(DeviceContext& dc) {
    PenObject& pen = *dc.state().pen;
    return PenStroke{dc, dc.pixelOf(pen.color), pen.width, pen.style == PS_DASH};
}

bool penVisible(DeviceContext& dc) {
    return dc.state().pen->visible();
}
bool brushVisible(DeviceContext& dc) {
    return !dc.state().brush->hollow;
}

void normalise(int& a, int& b) {
    if (a > b) std::swap(a, b);
}

// The horizontal span [x0, x1) of row y inside a rectangle with elliptic corners of ew x eh; empty
// (x0 >= x1) when the row lies outside.
void roundSpan(const RECT& r, int ew, int eh, int y, int& x0, int& x1) {
    x0 = x1 = 0;
    if (y < r.top || y >= r.bottom || r.right <= r.left) return;
    ew = std::min(ew, static_cast<int>(r.right - r.left));
    eh = std::min(eh, static_cast<int>(r.bottom - r.top));
    double inset = 0;
    if (ew > 0 && eh > 0) {
        double ry = eh / 2.0, rx = ew / 2.0;
        double yc = y + 0.5;
        double dy = 0;
        if (yc < r.top + ry)
            dy = r.top + ry - yc;
        else if (yc > r.bottom - ry)
            dy = yc - (r.bottom - ry);
        double t = 1.0 - (dy / ry) * (dy / ry);
        inset = rx - rx * std::sqrt(std::max(0.0, t));
    }
    x0 = r.left + static_cast<int>(std::lround(inset));
    x1 = r.right - static_cast<int>(std::lround(inset));
}

// Draws a rectangle with elliptic corners: brush inside, pen band of the pen's width along the edge.
void drawRound(DeviceContext& dc, RECT r, int ew, int eh) {
    r = dc.toSurface(r);
    bool pen = penVisible(dc);
    int w = pen ? dc.state().pen->width : 0;
    RECT inner{r.left + w, r.top + w, r.right - w, r.bottom - w};
    uint32_t penPixel = dc.pixelOf(dc.state().pen->color);
    uint32_t brushPixel = dc.pixelOf(dc.state().brush->color);
    int rop2 = dc.state().rop2;
    RECT rows = rectOverlap(r, dc.clip().bounds());
    for (int y = rows.top; y < rows.bottom; ++y) {
        int a0, a1, b0, b1;
        roundSpan(r, ew, eh, y, a0, a1);
        roundSpan(inner, ew - 2 * w, eh - 2 * w, y, b0, b1);
        if (a0 >= a1) continue;
        if (b0 >= b1) b0 = b1 = a1;
        if (brushVisible(dc)) fillRect(dc.surface(), dc.clip(), RECT{b0, y, b1, y + 1}, brushPixel);
        if (pen) {
            fillRectRop2(dc.surface(), dc.clip(), RECT{a0, y, b0, y + 1}, penPixel, rop2);
            if (b1 < a1)
                fillRectRop2(dc.surface(), dc.clip(), RECT{std::max(b1, b0), y, a1, y + 1}, penPixel, rop2);
        }
    }
}

HBRUSH resolveBrush(HBRUSH brush) {
    uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value > 0 && value <= kSysColorBrushLimit) return GetSysColorBrush(static_cast<int>(value - 1));
    return brush;
}

// Fills the polygon's inside (alternate rule, pixel centres) with the brush.
void fillPolygon(DeviceContext& dc, const POINT* points, int count) {
    int top = points[0].y, bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        top = std::min(top, static_cast<int>(points[i].y));
        bottom = std::max(bottom, static_cast<int>(points[i].y));
    }
    uint32_t pixel = dc.pixelOf(dc.state().brush->color);
    std::vector<double> xs;
    RECT clipBounds = dc.clip().bounds();
    top = std::max(top, static_cast<int>(clipBounds.top - dc.offsetY()));
    bottom = std::min(bottom, static_cast<int>(clipBounds.bottom - dc.offsetY()));
    for (int y = top; y < bottom; ++y) {
        double yc = y + 0.5;
        xs.clear();
        for (int i = 0; i < count; ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % count];
            if ((a.y <= yc) == (b.y <= yc)) continue;
            xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            int x0 = static_cast<int>(std::ceil(xs[i] - 0.5)),
                x1 = static_cast<int>(std::ceil(xs[i + 1] - 0.5));
            fillRect(dc.surface(), dc.clip(), dc.toSurface(RECT{x0, y, x1, y + 1}), pixel);
        }
    }
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DeviceContext* dc = dcOf(hdc);
    auto b = objectAs<BrushObject>(resolveBrush(brush));
    if (dc == nullptr || rect == nullptr || !b) return 0;
    if (!b->hollow) fillRect(dc->surface(), dc->clip(), dc->toSurface(*rect), dc->pixelOf(b->color));
    return 1;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    normalise(left, right);
    normalise(top, bottom);
    if (!penVisible(*dc)) {
        RECT inside{left, top, right - 1, bottom - 1};
        if (brushVisible(*dc)) {
            fillRect(dc->surface(), dc->clip(), dc->toSurface(inside), dc->pixelOf(dc->state().brush->color));
        }
        return TRUE;
    }
    drawRound(*dc, RECT{left, top, right, bottom}, 0, 0);
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    normalise(left, right);
    normalise(top, bottom);
    drawRound(*dc, RECT{left, top, right, bottom}, std::abs(ellipseWidth), std::abs(ellipseHeight));
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    normalise(left, right);
    normalise(top, bottom);
    drawRound(*dc, RECT{left, top, right, bottom}, right - left, bottom - top);
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state().position;
    dc->state().position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    POINT from = dc->state().position;
    if (penVisible(*dc)) strokeOf(*dc).line(from.x, from.y, x, y);
    dc->state().position = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    if (!penVisible(*dc)) return TRUE;
    PenStroke stroke = strokeOf(*dc);
    for (int i = 0; i + 1 < count; ++i)
        stroke.line(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    if (brushVisible(*dc)) fillPolygon(*dc, points, count);
    if (!penVisible(*dc)) return TRUE;
    PenStroke stroke = strokeOf(*dc);
    for (int i = 0; i < count; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        stroke.line(a.x, a.y, b.x, b.y);
    }
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || rect == nullptr) return FALSE;
    RECT r = dc->toSurface(*rect);
    if (rectEmpty(r)) return TRUE;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) plot(dc->surface(), dc->clip(), x, y, 0xFFFFFF, R2_XORPEN);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left) dot(r.right - 1, y);
    }
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return CLR_INVALID;
    int sx = x + dc->offsetX(), sy = y + dc->offsetY();
    if (!dc->surface().contains(sx, sy) || !dc->clip().contains(sx, sy)) return CLR_INVALID;
    uint32_t pixel = dc->pixelOf(color);
    dc->surface().setPixel(sx, sy, pixel);
    return colorFromPixel(pixel);
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return CLR_INVALID;
    int sx = x + dc->offsetX(), sy = y + dc->offsetY();
    if (!dc->surface().contains(sx, sy) || !dc->clip().contains(sx, sy)) return CLR_INVALID;
    return colorFromPixel(dc->surface().pixel(sx, sy));
}
