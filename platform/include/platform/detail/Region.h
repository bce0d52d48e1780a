// A region: a set of disjoint rectangles. Clip regions of device contexts and HRGN objects use it;
// the window manager builds visible and update regions with it.
#pragma once

#include <vector>

#include "platform/wingdi.h"

namespace platform {

class Region {
  public:
    Region() = default;
    explicit Region(const RECT& rect);

    // The rectangles, disjoint and non-empty, in no particular order.
    const std::vector<RECT>& rects() const { return m_rects; }
    bool empty() const { return m_rects.empty(); }
    // The smallest rectangle holding the region; (0, 0, 0, 0) when empty.
    RECT bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int kind() const;
    bool contains(int x, int y) const;
    bool intersects(const RECT& rect) const;

    void intersect(const RECT& rect);
    void intersect(const Region& other);
    void subtract(const RECT& rect);
    void subtract(const Region& other);
    void unite(const RECT& rect);
    void unite(const Region& other);
    void offset(int dx, int dy);
    // The pixels in exactly one of the two regions.
    void exclusiveOr(const Region& other);

  private:
    std::vector<RECT> m_rects;
};

}  // namespace platform
