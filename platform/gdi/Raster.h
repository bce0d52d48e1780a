// Pixel-level drawing on a surface inside a clip region (surface coordinates): filled rectangles,
// single pixels, binary raster operations and coverage blending for anti-aliased glyphs.
#pragma once

#include <algorithm>

#include "platform/detail/Region.h"
#include "platform/detail/Surface.h"

namespace platform::gdi {

inline bool rectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

inline RECT rectOverlap(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// Calls fn(piece) for each non-empty part of rect inside the clip region and the surface.
template <class Fn>
void forEachClipped(const Surface& surface, const Region& clip, const RECT& rect, Fn fn) {
    RECT bounded = rectOverlap(rect, RECT{0, 0, surface.width(), surface.height()});
    if (rectEmpty(bounded)) return;
    for (const RECT& c : clip.rects()) {
        RECT piece = rectOverlap(bounded, c);
        if (!rectEmpty(piece)) fn(piece);
    }
}

// Sets count pixels from p on to value. On x86 the string store runs at the speed of memset (plain
// loops are not vectorised by the default target); sanitised builds use the checked loop instead.
inline void fillSpan(uint32_t* p, size_t count, uint32_t value) {
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__SANITIZE_ADDRESS__)
    asm volatile("rep stosl" : "+D"(p), "+c"(count) : "a"(value) : "memory");
#else
    std::fill_n(p, count, value);
#endif
}

// The pixel left by a pen of the given binary raster operation (R2_*) over dst.
uint32_t applyRop2(int rop2, uint32_t dst, uint32_t pen);

void fillRect(Surface& surface, const Region& clip, const RECT& rect, uint32_t pixel);
void fillRectRop2(Surface& surface, const Region& clip, const RECT& rect, uint32_t pixel, int rop2);
void plot(Surface& surface, const Region& clip, int x, int y, uint32_t pixel, int rop2);
// Blends pixel into the surface at (x, y) by an 8-bit coverage map of width x height (row pitch in
// bytes): 0 leaves the surface, 255 sets the pixel.
void blendCoverage(Surface& surface, const Region& clip, int x, int y, const uint8_t* coverage, int width,
                   int height, int pitch, uint32_t pixel);

}  // namespace platform::gdi
