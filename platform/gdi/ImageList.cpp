// Image lists: equal-sized images cut from strip bitmaps, each with an optional mask, drawn onto DCs.
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "DeviceContext.h"
#include "Raster.h"
#include "platform/commctrl.h"
#include "platform/handles.h"
#include "platform/winerror.h"

using namespace platform;
using namespace platform::gdi;

namespace {

struct Image {
    std::vector<uint32_t> pixels;  // cx * cy, row by row
    std::vector<uint8_t> masked;   // 1 where the image is transparent; empty without a mask
};

struct ImageList {
    int cx = 0;
    int cy = 0;
    bool hasMask = false;
    COLORREF bkColor = CLR_NONE;
    std::vector<Image> images;
};

struct ListRegistry {
    std::mutex lock;
    std::unordered_map<HIMAGELIST, std::unique_ptr<ImageList>> lists;
};

ListRegistry& lists() {
    static ListRegistry* instance = new ListRegistry;
    return *instance;
}

ImageList* listOf(HIMAGELIST handle) {
    ListRegistry& r = lists();
    std::lock_guard guard(r.lock);
    auto it = r.lists.find(handle);
    if (it != r.lists.end()) return it->second.get();
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

// Cuts the strip into images; isMasked(x, y) says which strip pixels are transparent.
template <class MaskFn>
int addStrip(ImageList& list, const Surface& strip, MaskFn isMasked) {
    if (strip.height() < list.cy || strip.width() < list.cx) return -1;
    int first = static_cast<int>(list.images.size());
    for (int left = 0; left + list.cx <= strip.width(); left += list.cx) {
        Image image;
        image.pixels.reserve(static_cast<size_t>(list.cx) * list.cy);
        if (list.hasMask) image.masked.reserve(image.pixels.capacity());
        for (int y = 0; y < list.cy; ++y) {
            for (int x = left; x < left + list.cx; ++x) {
                image.pixels.push_back(strip.pixel(x, y));
                if (list.hasMask) image.masked.push_back(isMasked(x, y) ? 1 : 0);
            }
        }
        list.images.push_back(std::move(image));
    }
    return first;
}

HIMAGELIST registerList(std::unique_ptr<ImageList> list) {
    HIMAGELIST h = reinterpret_cast<HIMAGELIST>(list.get());
    ListRegistry& r = lists();
    std::lock_guard guard(r.lock);
    r.lists[h] = std::move(list);
    return h;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    (void)initial;
    (void)grow;
    if (cx <= 0 || cy <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto list = std::make_unique<ImageList>();
    list->cx = cx;
    list->cy = cy;
    list->hasMask = (flags & ILC_MASK) != 0;
    return registerList(std::move(list));
}

BOOL ImageList_Destroy(HIMAGELIST handle) {
    std::unique_ptr<ImageList> doomed;
    ListRegistry& r = lists();
    std::lock_guard guard(r.lock);
    auto it = r.lists.find(handle);
    if (it == r.lists.end()) return FALSE;
    doomed = std::move(it->second);
    r.lists.erase(it);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
    ImageList* list = listOf(handle);
    return list == nullptr ? 0 : static_cast<int>(list->images.size());
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
    ImageList* list = listOf(handle);
    if (list == nullptr || cx == nullptr || cy == nullptr) return FALSE;
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask) {
    ImageList* list = listOf(handle);
    auto bitmap = objectAs<BitmapObject>(image);
    if (list == nullptr || !bitmap) return -1;
    auto maskBitmap = mask != nullptr ? objectAs<BitmapObject>(mask) : nullptr;
    const Surface* maskSurface = maskBitmap ? maskBitmap->surface.get() : nullptr;
    return addStrip(*list, *bitmap->surface, [&](int x, int y) {
        return maskSurface != nullptr && maskSurface->contains(x, y) && maskSurface->pixel(x, y) != 0;
    });
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF mask) {
    ImageList* list = listOf(handle);
    auto bitmap = objectAs<BitmapObject>(image);
    if (list == nullptr || !bitmap) return -1;
    uint32_t key = pixelFromColor(mask & 0xFFFFFF);
    const Surface& strip = *bitmap->surface;
    return addStrip(*list, strip, [&](int x, int y) { return mask != CLR_NONE && strip.pixel(x, y) == key; });
}

HIMAGELIST ImageList_LoadImageW(HINSTANCE module, LPCWSTR name, int cx, int grow, COLORREF mask, UINT type,
                                UINT flags) {
    if (type != IMAGE_BITMAP || cx <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(module, name, type, 0, 0, flags));
    if (bitmap == nullptr) return nullptr;
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    HIMAGELIST list =
        ImageList_Create(cx, bm.bmHeight, mask == CLR_NONE ? ILC_COLOR32 : ILC_MASK | ILC_COLOR32, 0, grow);
    if (list != nullptr && ImageList_AddMasked(list, bitmap, mask) < 0) {
        ImageList_Destroy(list);
        list = nullptr;
        SetLastError(ERROR_INVALID_DATA);
    }
    DeleteObject(bitmap);
    return list;
}

BOOL ImageList_Draw(HIMAGELIST handle, int i, HDC hdc, int x, int y, UINT style) {
    ImageList* list = listOf(handle);
    DeviceContext* dc = dcOf(hdc);
    if (list == nullptr || dc == nullptr || i < 0 || i >= static_cast<int>(list->images.size())) return FALSE;
    const Image& image = list->images[static_cast<size_t>(i)];
    bool fillMasked = list->bkColor != CLR_NONE && !(style & ILD_TRANSPARENT);
    uint32_t bk = dc->pixelOf(list->bkColor & 0xFFFFFF);
    int left = x + dc->offsetX(), top = y + dc->offsetY();
    Surface& surface = dc->surface();
    forEachClipped(surface, dc->clip(), RECT{left, top, left + list->cx, top + list->cy},
                   [&](const RECT& piece) {
                       for (int py = piece.top; py < piece.bottom; ++py) {
                           uint32_t* row = surface.row(py);
                           size_t base = static_cast<size_t>(py - top) * static_cast<size_t>(list->cx);
                           for (int px = piece.left; px < piece.right; ++px) {
                               size_t at = base + static_cast<size_t>(px - left);
                               bool masked = !image.masked.empty() && image.masked[at] != 0;
                               if (style & ILD_MASK)
                                   row[px] = masked ? 0xFFFFFFu : 0u;
                               else if (!masked)
                                   row[px] = dc->pixelOf(colorFromPixel(image.pixels[at]));
                               else if (fillMasked)
                                   row[px] = bk;
                           }
                       }
                   });
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF color) {
    ImageList* list = listOf(handle);
    if (list == nullptr) return CLR_NONE;
    COLORREF previous = list->bkColor;
    list->bkColor = color == CLR_NONE ? CLR_NONE : (color & 0xFFFFFF);
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle) {
    ImageList* list = listOf(handle);
    return list == nullptr ? CLR_NONE : list->bkColor;
}
