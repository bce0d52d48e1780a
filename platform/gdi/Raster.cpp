// Pixel-level drawing inside clip regions; every write is bounded by the surface and the clip.
#include "Raster.h"

#include "TextRuns.h"

#include "platform/wingdi.h"

namespace platform::gdi {

uint32_t applyRop2(int rop2, uint32_t dst, uint32_t pen) {
    switch (rop2) {
        case R2_BLACK:
            return 0;
        case R2_NOT:
            return ~dst & 0xFFFFFFu;
        case R2_XORPEN:
            return (dst ^ pen) & 0xFFFFFFu;
        case R2_WHITE:
            return 0xFFFFFFu;
        default:
            return pen;
    }
}

void fillRect(Surface& surface, const Region& clip, const RECT& rect, uint32_t pixel) {
    coverTextRuns(surface, clip, rect);
    forEachClipped(surface, clip, rect, [&](const RECT& piece) {
        size_t width = static_cast<size_t>(piece.right - piece.left);
        if (width == static_cast<size_t>(surface.width()) && surface.stride() == surface.width()) {
            fillSpan(surface.row(piece.top), width * static_cast<size_t>(piece.bottom - piece.top), pixel);
            return;
        }
        for (int y = piece.top; y < piece.bottom; ++y)
            fillSpan(surface.row(y) + piece.left, width, pixel);
    });
}

void fillRectRop2(Surface& surface, const Region& clip, const RECT& rect, uint32_t pixel, int rop2) {
    if (rop2 == R2_COPYPEN) {
        fillRect(surface, clip, rect, pixel);
        return;
    }
    forEachClipped(surface, clip, rect, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            uint32_t* row = surface.row(y);
            for (int x = piece.left; x < piece.right; ++x)
                row[x] = applyRop2(rop2, row[x], pixel);
        }
    });
}

void plot(Surface& surface, const Region& clip, int x, int y, uint32_t pixel, int rop2) {
    if (!surface.contains(x, y) || !clip.contains(x, y)) return;
    uint32_t& p = surface.row(y)[x];
    p = applyRop2(rop2, p, pixel);
}

namespace {

inline uint32_t blend(uint32_t dst, uint32_t src, uint32_t alpha) {
    uint32_t inverse = 255 - alpha;
    uint32_t rb = ((src & 0xFF00FFu) * alpha + (dst & 0xFF00FFu) * inverse + 0x800080u);
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    uint32_t g = ((src & 0xFF00u) * alpha + (dst & 0xFF00u) * inverse + 0x8000u);
    g = ((g + ((g >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
    return rb | g;
}

}  // namespace

void blendCoverage(Surface& surface, const Region& clip, int x, int y, const uint8_t* coverage, int width,
                   int height, int pitch, uint32_t pixel) {
    forEachClipped(surface, clip, RECT{x, y, x + width, y + height}, [&](const RECT& piece) {
        for (int py = piece.top; py < piece.bottom; ++py) {
            const uint8_t* cov = coverage + static_cast<std::ptrdiff_t>(py - y) * pitch + (piece.left - x);
            uint32_t* row = surface.row(py);
            for (int px = piece.left; px < piece.right; ++px) {
                uint32_t a = cov[px - piece.left];
                if (a == 0) continue;
                row[px] = a == 255 ? pixel : blend(row[px], pixel, a);
            }
        }
    });
}

}  // namespace platform::gdi
