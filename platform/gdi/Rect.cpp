// Rectangle helpers of the drawing API: construction, offsets, intersection, union and tests.
#include <algorithm>

#include "platform/wingdi.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) {
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT dest, const RECT* src) {
    if (dest == nullptr || src == nullptr) return FALSE;
    *dest = *src;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) {
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (dest == nullptr || a == nullptr || b == nullptr) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    *dest = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (dest == nullptr || a == nullptr || b == nullptr) return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    if (IsRectEmpty(a)) return CopyRect(dest, b);
    if (IsRectEmpty(b)) return CopyRect(dest, a);
    *dest = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                 std::max(a->bottom, b->bottom)};
    return TRUE;
}

// The part of a not covered by b, when that part is a rectangle (b spans a fully in one direction);
// otherwise a itself.
BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (dest == nullptr || a == nullptr || b == nullptr) return FALSE;
    RECT r = *a;
    RECT cut;
    if (IntersectRect(&cut, a, b)) {
        bool fullWidth = cut.left == a->left && cut.right == a->right;
        bool fullHeight = cut.top == a->top && cut.bottom == a->bottom;
        if (fullWidth && cut.top == a->top)
            r.top = cut.bottom;
        else if (fullWidth && cut.bottom == a->bottom)
            r.bottom = cut.top;
        else if (fullHeight && cut.left == a->left)
            r.left = cut.right;
        else if (fullHeight && cut.right == a->right)
            r.right = cut.left;
    }
    if (IsRectEmpty(&r)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    *dest = r;
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
           point.y < rect->bottom;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top && a->right == b->right &&
           a->bottom == b->bottom;
}
