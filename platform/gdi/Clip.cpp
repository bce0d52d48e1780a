// Clipping of device contexts (IntersectClipRect, ExcludeClipRect, SelectClipRgn, GetClipBox) and
// the rectangle regions behind HRGN handles.
#include <memory>

#include "DeviceContext.h"
#include "platform/handles.h"
#include "platform/winerror.h"

using namespace platform;
using namespace platform::gdi;

namespace {

int clipKind(DeviceContext& dc) {
    return dc.clip().kind();
}

// Region handles are checked here so that a non-region object is refused with ERROR_INVALID_HANDLE.
std::shared_ptr<RegionObject> regionOf(HRGN region) {
    auto r = objectAs<RegionObject>(region);
    if (!r) SetLastError(ERROR_INVALID_HANDLE);
    return r;
}

}  // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return ERROR;
    Region clip = dc->currentClipOrVisible();
    clip.intersect(dc->toSurface(RECT{left, top, right, bottom}));
    dc->setAppClip(std::move(clip));
    return clipKind(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return ERROR;
    Region clip = dc->currentClipOrVisible();
    clip.subtract(dc->toSurface(RECT{left, top, right, bottom}));
    dc->setAppClip(std::move(clip));
    return clipKind(*dc);
}

int GetClipBox(HDC hdc, LPRECT rect) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || rect == nullptr) return ERROR;
    RECT box = dc->clip().bounds();
    if (!dc->clip().empty()) OffsetRect(&box, -dc->offsetX(), -dc->offsetY());
    *rect = box;
    return clipKind(*dc);
}

int SelectClipRgn(HDC hdc, HRGN region) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return ERROR;
    if (region == nullptr) {
        dc->setAppClip(std::nullopt);
        return clipKind(*dc);
    }
    auto r = regionOf(region);
    if (!r) return ERROR;
    Region clip = r->region;
    clip.offset(dc->origin().x, dc->origin().y);
    dc->setAppClip(std::move(clip));
    return clipKind(*dc);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    return static_cast<HRGN>(registerObject(std::make_shared<RegionObject>(Region(r))));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    auto r = regionOf(region);
    if (!r) return FALSE;
    r->region = Region(
        RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    auto d = regionOf(dest);
    auto ra = regionOf(a);
    auto rb = mode == RGN_COPY ? ra : regionOf(b);
    if (!d || !ra || !rb) return ERROR;
    Region result = ra->region;
    switch (mode) {
        case RGN_AND:
            result.intersect(rb->region);
            break;
        case RGN_OR:
            result.unite(rb->region);
            break;
        case RGN_XOR:
            result.exclusiveOr(rb->region);
            break;
        case RGN_DIFF:
            result.subtract(rb->region);
            break;
        case RGN_COPY:
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
    }
    d->region = std::move(result);
    return d->region.kind();
}

int GetRgnBox(HRGN region, LPRECT rect) {
    auto r = regionOf(region);
    if (!r || rect == nullptr) return ERROR;
    *rect = r->region.bounds();
    return r->region.kind();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    auto r = regionOf(region);
    if (!r) return ERROR;
    r->region.offset(dx, dy);
    return r->region.kind();
}

BOOL PtInRegion(HRGN region, int x, int y) {
    auto r = regionOf(region);
    return r && r->region.contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    auto r = regionOf(region);
    return r && rect != nullptr && r->region.intersects(*rect) ? TRUE : FALSE;
}
