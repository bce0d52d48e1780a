// Device contexts: memory DCs and surface DCs, their registry, object selection, saved states, colours
// and modes, device capabilities and the screen's resolution.
#include "DeviceContext.h"

#include <atomic>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/detail/Gdi.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform::gdi {
namespace {

struct DcRegistry {
    std::mutex lock;
    std::unordered_map<HDC, std::unique_ptr<DeviceContext>> dcs;
};

DcRegistry& dcRegistry() {
    static DcRegistry* instance = new DcRegistry;  // never destroyed: DCs may be deleted during exit
    return *instance;
}

std::atomic<int> g_screenDpi{96};

HDC registerDc(std::unique_ptr<DeviceContext> dc) {
    HDC h = reinterpret_cast<HDC>(dc.get());
    DcRegistry& r = dcRegistry();
    std::lock_guard guard(r.lock);
    r.dcs[h] = std::move(dc);
    return h;
}

Region surfaceBounds(const Surface& s) {
    return Region(RECT{0, 0, s.width(), s.height()});
}

}  // namespace

DeviceContext::DeviceContext() : m_kind(Kind::Memory) {
    m_state.brush = std::static_pointer_cast<BrushObject>(stockObject(WHITE_BRUSH));
    m_state.pen = std::static_pointer_cast<PenObject>(stockObject(BLACK_PEN));
    m_state.font = std::static_pointer_cast<FontObject>(stockObject(SYSTEM_FONT));
    selectBitmap(defaultBitmap());
}

DeviceContext::DeviceContext(std::shared_ptr<Surface> surface, POINT origin, const Region& visible)
    : m_kind(Kind::Surface), m_surface(std::move(surface)) {
    m_state.brush = std::static_pointer_cast<BrushObject>(stockObject(WHITE_BRUSH));
    m_state.pen = std::static_pointer_cast<PenObject>(stockObject(BLACK_PEN));
    m_state.font = std::static_pointer_cast<FontObject>(stockObject(SYSTEM_FONT));
    setArea(origin, visible);
}

DeviceContext::~DeviceContext() {
    if (m_state.bitmap && m_state.bitmap->selectedInto == this) m_state.bitmap->selectedInto = nullptr;
}

RECT DeviceContext::toSurface(const RECT& r) const {
    return RECT{r.left + offsetX(), r.top + offsetY(), r.right + offsetX(), r.bottom + offsetY()};
}

uint32_t DeviceContext::pixelOf(COLORREF color) const {
    if (!m_surface->monochrome()) return pixelFromColor(color);
    int luminance = (GetRValue(color) * 30 + GetGValue(color) * 59 + GetBValue(color) * 11) / 100;
    return luminance >= 128 ? 0xFFFFFFu : 0u;
}

bool DeviceContext::selectBitmap(const std::shared_ptr<BitmapObject>& bitmap) {
    if (m_kind != Kind::Memory || !bitmap) return false;
    if (!bitmap->stock() && bitmap->selectedInto != nullptr && bitmap->selectedInto != this) return false;
    if (m_state.bitmap && m_state.bitmap->selectedInto == this) m_state.bitmap->selectedInto = nullptr;
    m_state.bitmap = bitmap;
    if (!bitmap->stock()) bitmap->selectedInto = this;
    m_surface = bitmap->surface;
    m_visible = surfaceBounds(*m_surface);
    updateClip();
    return true;
}

void DeviceContext::setArea(POINT origin, const Region& visible) {
    m_origin = origin;
    m_visible = visible;
    m_visible.intersect(RECT{0, 0, m_surface->width(), m_surface->height()});
    updateClip();
}

void DeviceContext::setAppClip(std::optional<Region> clip) {
    m_state.appClip = std::move(clip);
    updateClip();
}

void DeviceContext::updateClip() {
    m_clip = m_visible;
    if (m_state.appClip) m_clip.intersect(*m_state.appClip);
}

int DeviceContext::save() {
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

bool DeviceContext::restore(int level) {
    int count = static_cast<int>(m_saved.size());
    if (level < 0) level = count + 1 + level;
    if (level < 1 || level > count) return false;
    State state = m_saved[static_cast<size_t>(level - 1)];
    m_saved.resize(static_cast<size_t>(level - 1));
    if (m_kind == Kind::Memory && state.bitmap != m_state.bitmap && !selectBitmap(state.bitmap)) {
        state.bitmap = m_state.bitmap;  // the saved bitmap went into another DC meanwhile
    }
    m_state = std::move(state);
    updateClip();
    return true;
}

DeviceContext* dcOf(HDC hdc) {
    DcRegistry& r = dcRegistry();
    std::lock_guard guard(r.lock);
    auto it = r.dcs.find(hdc);
    if (it != r.dcs.end()) return it->second.get();
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

bool isDc(HANDLE handle) {
    DcRegistry& r = dcRegistry();
    std::lock_guard guard(r.lock);
    return r.dcs.count(static_cast<HDC>(handle)) != 0;
}

}  // namespace platform::gdi

namespace platform {

HDC createSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, const Region& visible) {
    if (!surface) return nullptr;
    return gdi::registerDc(std::make_unique<gdi::DeviceContext>(std::move(surface), origin, visible));
}

bool setSurfaceDCArea(HDC hdc, POINT origin, const Region& visible) {
    gdi::DeviceContext* dc = gdi::dcOf(hdc);
    if (dc == nullptr || dc->kind() != gdi::DeviceContext::Kind::Surface) return false;
    dc->setArea(origin, visible);
    return true;
}

std::shared_ptr<Surface> surfaceOf(HDC hdc) {
    gdi::DeviceContext* dc = gdi::dcOf(hdc);
    return dc == nullptr ? nullptr : dc->surfacePtr();
}

bool setScreenDpi(int dpi) {
    if (dpi < 48 || dpi > 480) return false;
    gdi::g_screenDpi = dpi;
    return true;
}

int screenDpi() {
    return gdi::g_screenDpi;
}

}  // namespace platform

using namespace platform::gdi;

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc != nullptr && dcOf(hdc) == nullptr) return nullptr;
    return registerDc(std::make_unique<DeviceContext>());
}

BOOL DeleteDC(HDC hdc) {
    std::unique_ptr<DeviceContext> doomed;
    DcRegistry& r = dcRegistry();
    std::lock_guard guard(r.lock);
    auto it = r.dcs.find(hdc);
    if (it == r.dcs.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    doomed = std::move(it->second);
    r.dcs.erase(it);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    DeviceContext* dc = dcOf(hdc);
    auto o = objectOf(object);
    if (dc == nullptr || !o) return nullptr;
    DeviceContext::State& s = dc->state();
    HGDIOBJ previous = nullptr;
    if (auto b = std::dynamic_pointer_cast<BrushObject>(o)) {
        previous = s.brush->handle();
        s.brush = b;
    } else if (auto p = std::dynamic_pointer_cast<PenObject>(o)) {
        previous = s.pen->handle();
        s.pen = p;
    } else if (auto f = std::dynamic_pointer_cast<FontObject>(o)) {
        previous = s.font->handle();
        s.font = f;
    } else if (auto bm = std::dynamic_pointer_cast<BitmapObject>(o)) {
        if (dc->kind() != DeviceContext::Kind::Memory) return nullptr;
        previous = s.bitmap->handle();
        if (!dc->selectBitmap(bm)) return nullptr;
    } else if (auto rgn = std::dynamic_pointer_cast<RegionObject>(o)) {
        return reinterpret_cast<HGDIOBJ>(
            static_cast<intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(object))));
    }
    return previous;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT objectType) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return nullptr;
    DeviceContext::State& s = dc->state();
    switch (objectType) {
        case OBJ_BRUSH:
            return s.brush->handle();
        case OBJ_PEN:
            return s.pen->handle();
        case OBJ_FONT:
            return s.font->handle();
        case OBJ_BITMAP:
            return s.bitmap ? s.bitmap->handle() : nullptr;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}

int SaveDC(HDC hdc) {
    DeviceContext* dc = dcOf(hdc);
    return dc == nullptr ? 0 : dc->save();
}

BOOL RestoreDC(HDC hdc, int savedLevel) {
    DeviceContext* dc = dcOf(hdc);
    return dc != nullptr && dc->restore(savedLevel) ? TRUE : FALSE;
}

int GetDeviceCaps(HDC hdc, int index) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return 0;
    int dpi = platform::screenDpi();
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return dpi;
        case HORZRES:
            return dc->surface().width();
        case VERTRES:
            return dc->surface().height();
        case HORZSIZE:
            return dc->surface().width() * 254 / (dpi * 10);
        case VERTSIZE:
            return dc->surface().height() * 254 / (dpi * 10);
        case BITSPIXEL:
            return dc->surface().monochrome() ? 1 : 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        default:
            return 0;
    }
}

namespace {

template <class T, class Setter>
T exchange(HDC hdc, T invalid, Setter setter) {
    DeviceContext* dc = dcOf(hdc);
    return dc == nullptr ? invalid : setter(dc->state());
}

}  // namespace

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return exchange(hdc, CLR_INVALID, [&](auto& s) { return std::exchange(s.textColor, color & 0xFFFFFF); });
}
COLORREF GetTextColor(HDC hdc) {
    return exchange(hdc, CLR_INVALID, [](auto& s) { return s.textColor; });
}
COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return exchange(hdc, CLR_INVALID, [&](auto& s) { return std::exchange(s.bkColor, color & 0xFFFFFF); });
}
COLORREF GetBkColor(HDC hdc) {
    return exchange(hdc, CLR_INVALID, [](auto& s) { return s.bkColor; });
}
int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return exchange(hdc, 0, [&](auto& s) { return std::exchange(s.bkMode, mode); });
}
int GetBkMode(HDC hdc) {
    return exchange(hdc, 0, [](auto& s) { return s.bkMode; });
}
UINT SetTextAlign(HDC hdc, UINT align) {
    return exchange(hdc, static_cast<UINT>(0xFFFFFFFFu),
                    [&](auto& s) { return std::exchange(s.textAlign, align); });
}
UINT GetTextAlign(HDC hdc) {
    return exchange(hdc, static_cast<UINT>(0xFFFFFFFFu), [](auto& s) { return s.textAlign; });
}
int SetROP2(HDC hdc, int mode) {
    if (mode < R2_BLACK || mode > R2_WHITE) return 0;
    return exchange(hdc, 0, [&](auto& s) { return std::exchange(s.rop2, mode); });
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state().viewport;
    dc->state().viewport = POINT{x, y};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || origin == nullptr) return FALSE;
    *origin = dc->state().viewport;
    return TRUE;
}
