// Invalid areas and painting: update regions per window (client coordinates), WM_PAINT generation
// in window-tree order (parent before children), BeginPaint/EndPaint with WM_ERASEBKGND, and
// window DCs on the screen framebuffer clipped to what the window shows.

#include "../display/Screen.h"
#include "../gdi/GdiObjects.h"
#include "MessageQueue.h"
#include "WindowManager.h"
#include "platform/detail/Gdi.h"

using namespace platform::user;
using platform::Region;

namespace {

// Adds a client-coordinate area (clipped to the client rectangle) to the window's update region.
bool invalidate(HWND window, const Region* area, bool erase) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w) {
        if (window) return FALSE;
        platform::user::invalidateScreenArea(Region(platform::Screen::instance().bounds()));
        return TRUE;
    }
    RECT client = clientRectScreen(w);
    OffsetRect(&client, -client.left, -client.top);
    Region add = area ? *area : Region(client);
    add.intersect(client);
    if (!reallyVisible(w) || add.empty()) return TRUE;
    w->update.unite(add);
    w->erase = w->erase || erase;
    if (auto queue = queueOf(w->thread)) queue->wake();
    return TRUE;
}

Window* firstToPaint(Window* w, DWORD thread, Window* within) {
    if (!(w->style & WS_VISIBLE)) return nullptr;
    bool accepted = !within || isDescendant(within, w);
    if (accepted && w->thread == thread && (!w->update.empty() || w->frameDirty)) return w;
    for (Window* child : w->children)
        if (Window* found = firstToPaint(child, thread, within)) return found;
    return nullptr;
}

Region regionOf(HRGN region) {
    auto object = platform::gdi::objectAs<platform::gdi::RegionObject>(region);
    return object ? object->region : Region();
}

HDC windowDC(HWND window, bool includeFrame) {
    Lock lock = lockState();
    auto& screen = platform::Screen::instance();
    if (!window) return platform::createSurfaceDC(screen.surface(), POINT{0, 0}, Region(screen.bounds()));
    Window* w = find(window);
    if (!w) return nullptr;
    RECT frame = windowRectScreen(w);
    POINT origin = includeFrame ? POINT{frame.left, frame.top} : clientOriginScreen(w);
    return platform::createSurfaceDC(screen.surface(), origin, visibleRegion(w, includeFrame));
}

}  // namespace

namespace platform::user {

HWND nextPaintWindow(DWORD thread, HWND filter) {
    Lock lock = lockState();
    Window* within = filter && filter != reinterpret_cast<HWND>(-1) ? find(filter) : nullptr;
    if (filter && !within) return nullptr;
    for (Window* top : state().desktop.children)
        if (Window* w = firstToPaint(top, thread, within)) return w->handle;
    return nullptr;
}

void presentIfPainted() {
    {
        Lock lock = lockState();
        if (!state().paintedSinceFrame) return;
        state().paintedSinceFrame = false;
    }
    Screen::instance().presentFrame();
}

}  // namespace platform::user

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    if (!rect) return invalidate(window, nullptr, erase);
    Region area(*rect);
    return invalidate(window, &area, erase);
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
    if (!region) return invalidate(window, nullptr, erase);
    Region area = regionOf(region);
    return invalidate(window, &area, erase);
}

BOOL ValidateRect(HWND window, const RECT* rect) {
    Lock lock = lockState();
    Window* w = find(window);
    if (!w) return FALSE;
    if (rect) {
        w->update.subtract(*rect);
    } else {
        w->update = Region();
    }
    if (w->update.empty()) w->erase = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
    bool owesErase;
    RECT bounds;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return FALSE;
        bounds = w->update.bounds();
        owesErase = w->erase;
    }
    if (rect) *rect = bounds;
    if (erase && owesErase && !IsRectEmpty(&bounds)) {
        HDC hdc = GetDC(window);
        bool erased = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) != 0;
        ReleaseDC(window, hdc);
        Lock lock = lockState();
        if (Window* w = find(window); w && erased) w->erase = false;
    }
    return !IsRectEmpty(&bounds);
}

BOOL UpdateWindow(HWND window) {
    bool owes;
    std::vector<HWND> children;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return FALSE;
        owes = reallyVisible(w) && (!w->update.empty() || w->frameDirty);
        for (Window* child : w->children)
            children.push_back(child->handle);
    }
    if (owes) {
        SendMessageW(window, WM_PAINT, 0, 0);
        // As after a dispatched WM_PAINT: an area the procedure left invalid is not repainted again.
        ValidateRect(window, nullptr);
    }
    for (HWND child : children)
        UpdateWindow(child);
    return TRUE;
}

namespace {

// RedrawWindow's work on one window and, with RDW_ALLCHILDREN, on its descendants; area is in the
// window's client coordinates (null: all of it).
void redraw(HWND window, const Region* area, UINT flags) {
    if (flags & RDW_INVALIDATE) invalidate(window, area, flags & RDW_ERASE);
    if (flags & RDW_VALIDATE) {
        if (area) {
            for (const RECT& r : area->rects())
                ValidateRect(window, &r);
        } else {
            ValidateRect(window, nullptr);
        }
    }
    if (!(flags & RDW_ALLCHILDREN)) return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!area) {
            redraw(child, nullptr, flags);
            continue;
        }
        Region childArea = *area;
        LONG delta = MapWindowPoints(window, child, nullptr, 0);
        childArea.offset(static_cast<SHORT>(LOWORD(delta)), static_cast<SHORT>(HIWORD(delta)));
        redraw(child, &childArea, flags);
    }
}

}  // namespace

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
    if (!IsWindow(window)) return FALSE;
    Region area;
    if (region)
        area = regionOf(region);
    else if (rect)
        area = Region(*rect);
    redraw(window, region || rect ? &area : nullptr, flags);
    if (flags & RDW_UPDATENOW) UpdateWindow(window);
    return TRUE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    if (!paint) return nullptr;
    Region area;
    POINT origin{0, 0};
    bool erase = false;
    bool frame = false;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return nullptr;
        origin = clientOriginScreen(w);
        area = w->update;
        area.offset(origin.x, origin.y);
        area.intersect(visibleRegion(w, false));
        erase = w->erase;
        frame = w->frameDirty;
        w->update = Region();
        w->erase = false;
        w->frameDirty = false;
    }
    if (frame) SendMessageW(window, WM_NCPAINT, 1, 0);
    HDC hdc = platform::createSurfaceDC(platform::Screen::instance().surface(), origin, area);
    *paint = PAINTSTRUCT{};
    paint->hdc = hdc;
    RECT bounds = area.bounds();
    if (!area.empty()) OffsetRect(&bounds, -origin.x, -origin.y);
    paint->rcPaint = bounds;
    paint->fErase = TRUE;
    if (erase && hdc)
        paint->fErase = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    else if (!erase)
        paint->fErase = FALSE;
    return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (!paint || !paint->hdc) return FALSE;
    DeleteDC(paint->hdc);
    Lock lock = lockState();
    state().paintedSinceFrame = true;
    return TRUE;
}

HDC GetDC(HWND window) {
    return windowDC(window, false);
}

HDC GetWindowDC(HWND window) {
    return windowDC(window, true);
}

int ReleaseDC(HWND, HDC hdc) {
    if (!hdc || !DeleteDC(hdc)) return 0;
    Lock lock = lockState();
    state().paintedSinceFrame = true;
    return 1;
}
