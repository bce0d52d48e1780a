// Regions as sets of disjoint rectangles: intersection, subtraction, union and queries.
#include "platform/detail/Region.h"

#include <algorithm>

namespace platform {
namespace {

bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT overlap(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// Appends the up to four pieces of a outside b (bands above and below, then left and right).
void appendDifference(const RECT& a, const RECT& b, std::vector<RECT>& out) {
    RECT cut = overlap(a, b);
    if (isEmpty(cut)) {
        out.push_back(a);
        return;
    }
    if (a.top < cut.top) out.push_back(RECT{a.left, a.top, a.right, cut.top});
    if (cut.bottom < a.bottom) out.push_back(RECT{a.left, cut.bottom, a.right, a.bottom});
    if (a.left < cut.left) out.push_back(RECT{a.left, cut.top, cut.left, cut.bottom});
    if (cut.right < a.right) out.push_back(RECT{cut.right, cut.top, a.right, cut.bottom});
}

}  // namespace

Region::Region(const RECT& rect) {
    if (!isEmpty(rect)) m_rects.push_back(rect);
}

RECT Region::bounds() const {
    if (m_rects.empty()) return RECT{0, 0, 0, 0};
    RECT b = m_rects.front();
    for (const RECT& r : m_rects) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

int Region::kind() const {
    if (m_rects.empty()) return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::contains(int x, int y) const {
    for (const RECT& r : m_rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
}

bool Region::intersects(const RECT& rect) const {
    for (const RECT& r : m_rects) {
        if (!isEmpty(overlap(r, rect))) return true;
    }
    return false;
}

void Region::intersect(const RECT& rect) {
    std::vector<RECT> out;
    for (const RECT& r : m_rects) {
        RECT o = overlap(r, rect);
        if (!isEmpty(o)) out.push_back(o);
    }
    m_rects = std::move(out);
}

void Region::intersect(const Region& other) {
    std::vector<RECT> out;
    for (const RECT& a : m_rects) {
        for (const RECT& b : other.m_rects) {
            RECT o = overlap(a, b);
            if (!isEmpty(o)) out.push_back(o);
        }
    }
    m_rects = std::move(out);
}

void Region::subtract(const RECT& rect) {
    if (isEmpty(rect)) return;
    std::vector<RECT> out;
    for (const RECT& r : m_rects)
        appendDifference(r, rect, out);
    m_rects = std::move(out);
}

void Region::subtract(const Region& other) {
    for (const RECT& r : other.m_rects)
        subtract(r);
}

void Region::unite(const RECT& rect) {
    if (isEmpty(rect)) return;
    Region piece(rect);
    piece.subtract(*this);
    m_rects.insert(m_rects.end(), piece.m_rects.begin(), piece.m_rects.end());
}

void Region::unite(const Region& other) {
    for (const RECT& r : other.m_rects)
        unite(r);
}

void Region::offset(int dx, int dy) {
    for (RECT& r : m_rects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}

void Region::exclusiveOr(const Region& other) {
    Region onlyOther = other;
    onlyOther.subtract(*this);
    subtract(other);
    m_rects.insert(m_rects.end(), onlyOther.m_rects.begin(), onlyOther.m_rects.end());
}

}  // namespace platform
