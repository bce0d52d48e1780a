// The process's window manager state: classes, the window tree with z-order, capture, focus and
// activation, and the helpers the user API's files share (geometry, visible regions, calling
// window procedures). One lock guards it; window procedures always run without it.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/detail/Region.h"
#include "platform/handles.h"
#include "platform/winuser.h"

namespace platform::user {

struct WindowClass {
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE module = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
    int extraBytes = 0;  // cbWndExtra: window slots at indexes 0 and up
    int windows = 0;
};

struct ScrollData {
    int min = 0;
    int max = 0;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    Window* parent = nullptr;       // the desktop for top-level windows; null only for the desktop
    std::vector<Window*> children;  // z-order, topmost first
    HWND owner = nullptr;           // the owner of a top-level window created with a parent
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    WNDPROC proc = nullptr;
    HINSTANCE module = nullptr;
    std::u16string text;
    RECT rect{};              // window rectangle in the parent's client coordinates
    Region update;            // invalid area, client coordinates
    bool erase = false;       // WM_ERASEBKGND owed at the next BeginPaint
    bool frameDirty = false;  // WM_NCPAINT owed (windows with a border)
    bool destroying = false;
    DWORD thread = 0;
    ScrollData scroll[2];
    std::map<int, LONG_PTR> extra;  // values stored at non-negative indexes
};

// Everything guarded by State::mutex.
struct State {
    std::recursive_mutex mutex;
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::map<std::u16string, std::shared_ptr<WindowClass>> classes;  // key: lower-case name
    Window desktop;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    uintptr_t nextHandle = 0x10000;
    ATOM nextAtom = 0xC000;
    MessageObserver observer;
    ForeignWindows* foreign = nullptr;
    bool paintedSinceFrame = false;
};

State& state();
using Lock = std::unique_lock<std::recursive_mutex>;
inline Lock lockState() {
    return Lock(state().mutex);
}

// Under the lock: the live window of a handle (not the desktop), or null.
Window* find(HWND handle);
// Under the lock: the window or the desktop.
Window* findOrDesktop(HWND handle);
std::u16string lowerCase(const std::u16string& text);

// Geometry, under the lock. Non-client insets come from WS_BORDER and WS_CAPTION.
RECT nonClientInsets(const Window* w);
RECT windowRectScreen(const Window* w);
RECT clientRectScreen(const Window* w);
POINT clientOriginScreen(const Window* w);
bool isTopLevel(const Window* w);
// The window whose client coordinates place this one: its parent, or null for a top-level window.
// Takes the lock itself.
HWND coordinateParent(HWND window);
// Visible: WS_VISIBLE on the window and all its ancestors.
bool reallyVisible(const Window* w);
bool isDescendant(const Window* ancestor, const Window* w);
Window* topLevelOf(Window* w);
// The part of the screen the window may draw on: its client area (or whole window when
// includeFrame), clipped by the ancestors' client areas, minus the siblings above it and their
// ancestors' siblings above, minus its visible children. Screen coordinates.
Region visibleRegion(const Window* w, bool includeFrame);
// Adds the part of the screen area each window shows to that window's update region (with erase).
void invalidateScreenArea(const Region& area);
// Drops the update regions of the window and its descendants.
void clearUpdate(Window* w);

// Calls the window's procedure (tells the observer first) without holding the lock. 0 for a window
// that is gone.
LRESULT callWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted);
// The calling thread's queue identity.
DWORD currentThread();

// The first window of the thread (tree order: parent before children) that owes a WM_PAINT and is
// accepted by the filter window (null: any), or null.
HWND nextPaintWindow(DWORD thread, HWND filter);
// After a paint pass: tells the screen a frame is ready when anything was drawn since the last one.
void presentIfPainted();
// Where the stylus last was, screen coordinates.
POINT cursorPos();

// The screen changed size (rotation, new profile): repaint everything, tell the top-level windows.
void screenChanged();

// Focus and activation changes that DestroyWindow and ShowWindow need.
void activateNextTopLevel(HWND leaving);
void releaseCaptureIf(HWND window, bool subtree);

}  // namespace platform::user
