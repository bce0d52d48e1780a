// The handle registry of drawing objects, the stock objects and system colours, and the object calls
// that need no DC: creation of brushes and pens, DeleteObject, GetObjectW, GetStockObject.
#include "GdiObjects.h"

#include <array>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform::gdi {
namespace {

// Larger bitmaps are refused: they would not fit a device's memory and their sizes could overflow.
constexpr long long kMaxBitmapPixels = 64ll * 1024 * 1024;
constexpr int kSysColorCount = 27;

struct Registry {
    std::mutex lock;
    std::unordered_map<HGDIOBJ, std::shared_ptr<GdiObject>> objects;
};

Registry& registry() {
    static Registry* instance = new Registry;  // never destroyed: objects may be deleted during exit
    return *instance;
}

const std::array<COLORREF, kSysColorCount> kSysColors = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(128, 128, 128), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(200, 200, 200), RGB(200, 200, 200), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(192, 192, 192), RGB(0, 0, 0)};

LOGFONTW tahoma(LONG weight) {
    LOGFONTW lf{};
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    const char16_t name[] = u"Tahoma";
    std::memcpy(lf.lfFaceName, name, sizeof(name));
    return lf;
}

struct StockObjects {
    std::array<std::shared_ptr<GdiObject>, DEFAULT_GUI_FONT + 1> byIndex;
    std::array<std::shared_ptr<GdiObject>, kSysColorCount> sysColorBrushes;
    std::shared_ptr<BitmapObject> defaultBitmap;

    StockObjects() {
        byIndex[WHITE_BRUSH] = std::make_shared<BrushObject>(false, RGB(255, 255, 255));
        byIndex[LTGRAY_BRUSH] = std::make_shared<BrushObject>(false, RGB(192, 192, 192));
        byIndex[GRAY_BRUSH] = std::make_shared<BrushObject>(false, RGB(128, 128, 128));
        byIndex[DKGRAY_BRUSH] = std::make_shared<BrushObject>(false, RGB(64, 64, 64));
        byIndex[BLACK_BRUSH] = std::make_shared<BrushObject>(false, RGB(0, 0, 0));
        byIndex[NULL_BRUSH] = std::make_shared<BrushObject>(true, RGB(0, 0, 0));
        byIndex[WHITE_PEN] = std::make_shared<PenObject>(PS_SOLID, 1, RGB(255, 255, 255));
        byIndex[BLACK_PEN] = std::make_shared<PenObject>(PS_SOLID, 1, RGB(0, 0, 0));
        byIndex[NULL_PEN] = std::make_shared<PenObject>(PS_NULL, 1, RGB(0, 0, 0));
        byIndex[SYSTEM_FONT] = std::make_shared<FontObject>(tahoma(FW_NORMAL), 9);
        byIndex[DEFAULT_GUI_FONT] = std::make_shared<FontObject>(tahoma(FW_NORMAL), 8);
        for (int i = 0; i < kSysColorCount; ++i) {
            sysColorBrushes[i] = std::make_shared<BrushObject>(false, kSysColors[i]);
        }
        defaultBitmap = makeBitmap(1, 1, true);
        defaultBitmap->surface->fill(0xFFFFFF);
        auto add = [](const std::shared_ptr<GdiObject>& o) {
            if (!o) return;
            o->markStock();
            registerObject(o);
        };
        for (auto& o : byIndex)
            add(o);
        for (auto& o : sysColorBrushes)
            add(o);
        add(defaultBitmap);
    }
};

StockObjects& stock() {
    static StockObjects* instance = new StockObjects;
    return *instance;
}

}  // namespace

HGDIOBJ registerObject(std::shared_ptr<GdiObject> object) {
    if (!object) return nullptr;
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    HGDIOBJ h = object->handle();
    r.objects[h] = std::move(object);
    return h;
}

std::shared_ptr<GdiObject> objectOf(HGDIOBJ handle) {
    if (handle != nullptr) {
        stock();
        Registry& r = registry();
        std::lock_guard guard(r.lock);
        auto it = r.objects.find(handle);
        if (it != r.objects.end()) return it->second;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

bool unregisterObject(HGDIOBJ handle) {
    Registry& r = registry();
    std::shared_ptr<GdiObject> doomed;  // destroyed after the lock is released
    std::lock_guard guard(r.lock);
    auto it = r.objects.find(handle);
    if (it == r.objects.end() || it->second->stock()) return false;
    doomed = std::move(it->second);
    r.objects.erase(it);
    return true;
}

std::shared_ptr<GdiObject> stockObject(int index) {
    if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
    return stock().byIndex[index];
}

std::shared_ptr<BitmapObject> defaultBitmap() {
    return stock().defaultBitmap;
}

std::shared_ptr<BitmapObject> makeBitmap(int width, int height, bool monochrome) {
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxBitmapPixels)
        return nullptr;
    try {
        auto surface = std::make_shared<Surface>(width, height);
        surface->setMonochrome(monochrome);
        return std::make_shared<BitmapObject>(std::move(surface), monochrome ? 1 : 32);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace platform::gdi

using namespace platform::gdi;

HGDIOBJ GetStockObject(int index) {
    auto o = stockObject(index);
    if (!o) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return o->handle();
}

BOOL DeleteObject(HGDIOBJ object) {
    auto o = objectOf(object);
    if (!o) return FALSE;
    if (o->stock()) return TRUE;
    return unregisterObject(object) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
    auto o = objectOf(object);
    return o ? o->type() : 0;
}

namespace {

template <class T>
int copyOut(const T& value, int bufferSize, LPVOID buffer) {
    if (buffer == nullptr) return static_cast<int>(sizeof(T));
    int n = std::min(bufferSize, static_cast<int>(sizeof(T)));
    if (n <= 0) return 0;
    std::memcpy(buffer, &value, static_cast<size_t>(n));
    return n;
}

BITMAP describeBitmap(BitmapObject& b) {
    BITMAP bm{};
    bm.bmWidth = b.surface->width();
    bm.bmHeight = b.surface->height();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(b.bitsPixel);
    bm.bmWidthBytes = ((bm.bmWidth * b.bitsPixel + 15) / 16) * 2;
    if (!b.dibBits.empty()) {
        bm.bmWidthBytes = bm.bmWidth * 4;
        bm.bmBits = b.dibBits.data();
    }
    return bm;
}

}  // namespace

int GetObjectW(HGDIOBJ object, int bufferSize, LPVOID buffer) {
    auto o = objectOf(object);
    if (!o) return 0;
    if (auto b = std::dynamic_pointer_cast<BitmapObject>(o))
        return copyOut(describeBitmap(*b), bufferSize, buffer);
    if (auto f = std::dynamic_pointer_cast<FontObject>(o)) return copyOut(f->logFont(), bufferSize, buffer);
    if (auto b = std::dynamic_pointer_cast<BrushObject>(o)) {
        LOGBRUSH lb{b->hollow ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID), b->color, 0};
        return copyOut(lb, bufferSize, buffer);
    }
    if (auto p = std::dynamic_pointer_cast<PenObject>(o)) {
        LOGPEN lp{static_cast<UINT>(p->style), POINT{p->width, 0}, p->color};
        return copyOut(lp, bufferSize, buffer);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(registerObject(std::make_shared<BrushObject>(false, color & 0xFFFFFF)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style != PS_SOLID && style != PS_DASH && style != PS_NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HPEN>(registerObject(std::make_shared<PenObject>(style, width, color & 0xFFFFFF)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (pen == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= kSysColorCount) return 0;
    return kSysColors[index];
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index >= kSysColorCount) return nullptr;
    return static_cast<HBRUSH>(stock().sysColorBrushes[index]->handle());
}
