// Helpers of the drawing tests: a memory DC over a bitmap, pixel reads, inked bounding boxes and
// random shapes.
#pragma once

#include <gtest/gtest.h>

#include <random>

#include "platform/detail/Gdi.h"
#include "platform/windows.h"

namespace gditest {

// A memory DC with a colour bitmap of width x height selected, filled with background.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF background = RGB(255, 255, 255))
        : m_width(width), m_height(height) {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateBitmap(width, height, 1, 32, nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        fill(background);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // The pixel as a COLORREF, read from the bitmap regardless of the DC's clipping.
    COLORREF at(int x, int y) const {
        return platform::colorFromPixel(platform::surfaceOf(m_bitmap)->pixel(x, y));
    }
    void fill(COLORREF color) {
        auto s = platform::surfaceOf(m_bitmap);
        s->fill(platform::pixelFromColor(color));
    }
    // The smallest rectangle holding every pixel that differs from background; empty when none does.
    RECT inked(COLORREF background = RGB(255, 255, 255)) const {
        RECT box{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (at(x, y) == background) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        if (box.right == 0) return RECT{0, 0, 0, 0};
        return box;
    }
    int countColor(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x)
                n += at(x, y) == color;
        }
        return n;
    }

  private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

inline bool inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A random rectangle that may reach past every edge of a width x height area, possibly empty.
inline RECT randomRect(std::mt19937& rng, int width, int height) {
    std::uniform_int_distribution<int> xs(-width / 4, width + width / 4),
        ys(-height / 4, height + height / 4);
    int a = xs(rng), b = xs(rng), c = ys(rng), d = ys(rng);
    return RECT{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
}

}  // namespace gditest
