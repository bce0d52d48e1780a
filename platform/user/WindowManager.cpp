// The window manager's shared state and geometry: screen rectangles of windows, visible regions
// (the device clips children and siblings), invalidation of uncovered screen areas, and the one
// place that calls window procedures.

#include "WindowManager.h"

#include "../display/Screen.h"
#include "MessageQueue.h"
#include "SystemClasses.h"

namespace platform::user {

State& state() {
    // Never destroyed: window procedures may still run while the process exits.
    static State* s = [] {
        auto* created = new State();
        created->desktop.handle = reinterpret_cast<HWND>(uintptr_t{0x1000});
        created->desktop.style = WS_VISIBLE;
        created->desktop.rect = Screen::instance().bounds();
        Screen::instance().addGeometryListener(screenChanged);
        addSystemClasses(*created);
        return created;
    }();
    return *s;
}

Window* find(HWND handle) {
    auto& s = state();
    auto it = s.windows.find(handle);
    return it == s.windows.end() ? nullptr : it->second.get();
}

Window* findOrDesktop(HWND handle) {
    if (handle == state().desktop.handle) return &state().desktop;
    return find(handle);
}

std::u16string lowerCase(const std::u16string& text) {
    std::u16string lower = text;
    for (auto& c : lower)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return lower;
}

RECT nonClientInsets(const Window* w) {
    RECT insets{0, 0, 0, 0};
    if (w->style & WS_BORDER) insets = RECT{1, 1, 1, 1};
    if ((w->style & WS_CAPTION) == WS_CAPTION) insets.top += GetSystemMetrics(SM_CYCAPTION);
    // Window scroll bars sit inside the border: the vertical one at the right, the horizontal one
    // at the bottom.
    if (w->style & WS_VSCROLL) insets.right += GetSystemMetrics(SM_CXVSCROLL);
    if (w->style & WS_HSCROLL) insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return insets;
}

bool isTopLevel(const Window* w) {
    return w->parent == &state().desktop;
}

HWND coordinateParent(HWND window) {
    Lock lock = lockState();
    Window* w = find(window);
    return w && w->parent && !isTopLevel(w) ? w->parent->handle : nullptr;
}

RECT windowRectScreen(const Window* w) {
    RECT r = w->rect;
    if (w->parent && !isTopLevel(w)) {
        POINT origin = clientOriginScreen(w->parent);
        OffsetRect(&r, origin.x, origin.y);
    }
    return r;
}

RECT clientRectScreen(const Window* w) {
    RECT r = windowRectScreen(w);
    RECT in = nonClientInsets(w);
    r.left += in.left;
    r.top += in.top;
    r.right -= in.right;
    r.bottom -= in.bottom;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

POINT clientOriginScreen(const Window* w) {
    RECT r = clientRectScreen(w);
    return POINT{r.left, r.top};
}

bool reallyVisible(const Window* w) {
    for (; w && w != &state().desktop; w = w->parent)
        if (!(w->style & WS_VISIBLE)) return false;
    return w != nullptr;
}

bool isDescendant(const Window* ancestor, const Window* w) {
    for (; w; w = w->parent)
        if (w == ancestor) return true;
    return false;
}

Window* topLevelOf(Window* w) {
    while (w && w->parent && !isTopLevel(w))
        w = w->parent;
    return w;
}

Region visibleRegion(const Window* w, bool includeFrame) {
    if (!reallyVisible(w)) return Region();
    Region region(includeFrame ? windowRectScreen(w) : clientRectScreen(w));
    region.intersect(Screen::instance().bounds());
    for (const Window* cur = w; cur->parent; cur = cur->parent) {
        const Window* parent = cur->parent;
        if (parent != &state().desktop) region.intersect(clientRectScreen(parent));
        for (const Window* sibling : parent->children) {
            if (sibling == cur) break;
            if (sibling->style & WS_VISIBLE) region.subtract(windowRectScreen(sibling));
        }
    }
    for (const Window* child : w->children)
        if (child->style & WS_VISIBLE) region.subtract(windowRectScreen(child));
    return region;
}

namespace {

void invalidateTree(Window* w, const Region& area) {
    if (!(w->style & WS_VISIBLE)) return;
    // Every descendant is clipped to this window, so a window the area misses needs no visible region
    // computed for it or for anything inside it.
    if (!area.intersects(windowRectScreen(w))) return;
    Region part = visibleRegion(w, true);
    part.intersect(area);
    if (!part.empty()) {
        Region client = part;
        client.intersect(clientRectScreen(w));
        if (!client.empty()) {
            POINT origin = clientOriginScreen(w);
            client.offset(-origin.x, -origin.y);
            w->update.unite(client);
            w->erase = true;
            if (auto queue = queueOf(w->thread)) queue->wake();
        }
        RECT insets = nonClientInsets(w);
        if (insets.top || insets.left || insets.right || insets.bottom) w->frameDirty = true;
    }
    for (Window* child : w->children)
        invalidateTree(child, area);
}

}  // namespace

void invalidateScreenArea(const Region& area) {
    for (Window* top : state().desktop.children)
        invalidateTree(top, area);
}

void clearUpdate(Window* w) {
    w->update = Region();
    w->erase = false;
    w->frameDirty = false;
    for (Window* child : w->children)
        clearUpdate(child);
}

LRESULT callWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
    WNDPROC proc = nullptr;
    MessageObserver observer;
    {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w) return 0;
        proc = w->proc;
        observer = state().observer;
    }
    if (observer) observer(window, message, wParam, lParam, posted);
    return proc ? proc(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform::user
