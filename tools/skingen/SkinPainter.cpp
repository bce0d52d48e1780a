// Rasterising recipe shapes with coverage from a grid of sample points per pixel, and recipe texts
// through the platform's DrawTextW.
#include "SkinPainter.h"

#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

constexpr int kSamples = 6;  // per pixel side: 36 coverage levels at the edges

// Inside a rectangle of the given corner radius (0: square corners).
bool insideRounded(double px, double py, double left, double top, double right, double bottom, double r) {
    if (px < left || px > right || py < top || py > bottom) return false;
    r = std::min({r, (right - left) / 2, (bottom - top) / 2});
    double dx = std::max({left + r - px, 0.0, px - (right - r)});
    double dy = std::max({top + r - py, 0.0, py - (bottom - r)});
    return dx * dx + dy * dy <= r * r;
}

double distanceToSegment(double px, double py, double x1, double y1, double x2, double y2) {
    double vx = x2 - x1, vy = y2 - y1;
    double length2 = vx * vx + vy * vy;
    double t = length2 > 0 ? std::clamp(((px - x1) * vx + (py - y1) * vy) / length2, 0.0, 1.0) : 0.0;
    double dx = px - (x1 + t * vx), dy = py - (y1 + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

uint8_t mix(uint8_t from, uint8_t to, double share) {
    return static_cast<uint8_t>(std::lround(from + (to - from) * share));
}

}  // namespace

SkinPainter::SkinPainter(const Recipe& recipe, int scale) : m_scale(scale) {
    m_width = static_cast<int>(std::lround(recipe.width * scale));
    m_height = static_cast<int>(std::lround(recipe.height * scale));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top-down: row y is at m_pixels + y * m_width
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_dc = CreateCompatibleDC(nullptr);
    if (m_bitmap == nullptr || m_dc == nullptr) return;
    m_previous = SelectObject(m_dc, m_bitmap);
    SetBkMode(m_dc, TRANSPARENT);
    m_pixels = static_cast<uint32_t*>(bits);
}

SkinPainter::~SkinPainter() {
    if (m_dc != nullptr) {
        if (m_previous != nullptr) SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
    }
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
}

void SkinPainter::blend(int x, int y, const Shape& shape, double coverage) {
    double top = shape.y * m_scale, height = shape.h * m_scale;
    double share =
        shape.kind == ShapeKind::Line || height <= 0 ? 0.0 : std::clamp((y + 0.5 - top) / height, 0.0, 1.0);
    uint8_t r = mix(shape.top.r, shape.bottom.r, share);
    uint8_t g = mix(shape.top.g, shape.bottom.g, share);
    uint8_t b = mix(shape.top.b, shape.bottom.b, share);
    uint32_t& p = m_pixels[static_cast<size_t>(y) * m_width + x];
    uint8_t pr = static_cast<uint8_t>(p >> 16), pg = static_cast<uint8_t>(p >> 8),
            pb = static_cast<uint8_t>(p);
    p = (uint32_t{mix(pr, r, coverage)} << 16) | (uint32_t{mix(pg, g, coverage)} << 8) | mix(pb, b, coverage);
}

template <class Inside>
void SkinPainter::fillCoverage(double left, double top, double right, double bottom, const Shape& shape,
                               Inside inside) {
    int x0 = std::max(0, static_cast<int>(std::floor(left))),
        y0 = std::max(0, static_cast<int>(std::floor(top)));
    int x1 = std::min(m_width, static_cast<int>(std::ceil(right)));
    int y1 = std::min(m_height, static_cast<int>(std::ceil(bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) ? 1 : 0;
            if (hits > 0) blend(x, y, shape, static_cast<double>(hits) / (kSamples * kSamples));
        }
    }
}

bool SkinPainter::draw(const Shape& s) {
    if (!ok()) return false;
    const double k = m_scale;
    double left = s.x * k, top = s.y * k, right = (s.x + s.w) * k, bottom = (s.y + s.h) * k;
    switch (s.kind) {
        case ShapeKind::Rect:
        case ShapeKind::Round:
            fillCoverage(left, top, right, bottom, s, [&](double px, double py) {
                return insideRounded(px, py, left, top, right, bottom, s.radius * k);
            });
            return true;
        case ShapeKind::Outline: {
            double w = s.width * k, r = s.radius * k;
            fillCoverage(left, top, right, bottom, s, [&](double px, double py) {
                return insideRounded(px, py, left, top, right, bottom, r) &&
                       !insideRounded(px, py, left + w, top + w, right - w, bottom - w, std::max(0.0, r - w));
            });
            return true;
        }
        case ShapeKind::Line: {
            double half = s.width * k / 2, x2 = s.w * k, y2 = s.h * k;
            fillCoverage(std::min(left, x2) - half, std::min(top, y2) - half, std::max(left, x2) + half,
                         std::max(top, y2) + half, s, [&](double px, double py) {
                             return distanceToSegment(px, py, left, top, x2, y2) <= half;
                         });
            return true;
        }
        case ShapeKind::Text:
            return drawText(s);
    }
    return false;
}

bool SkinPainter::drawText(const Shape& s) {
    // Character height in pixels for the points at this scale's resolution, as the program sizes its fonts.
    int height = -static_cast<int>(96.0 * m_scale * s.points / 72.0 + 0.5);
    HFONT font = CreateFontW(height, 0, 0, 0, s.weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Tahoma");
    if (font == nullptr) return false;
    HGDIOBJ previous = SelectObject(m_dc, font);
    SetTextColor(m_dc, RGB(s.top.r, s.top.g, s.top.b));
    RECT box{static_cast<LONG>(std::lround(s.x * m_scale)), static_cast<LONG>(std::lround(s.y * m_scale)),
             static_cast<LONG>(std::lround((s.x + s.w) * m_scale)),
             static_cast<LONG>(std::lround((s.y + s.h) * m_scale))};
    DrawTextW(m_dc, s.text.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(m_dc, previous);
    DeleteObject(font);
    return true;
}

}  // namespace skingen
