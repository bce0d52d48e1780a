// TrackPopupMenu: a pop-up window listing a menu's items at a point (kept on the screen), with its
// own loop. The stylus chooses an item on release over it and cancels going down outside; Up and
// Down move the highlight, Enter chooses it, Escape cancels. Grayed items and separators cannot be
// chosen; checked items show a check mark.

#include <algorithm>

#include "../display/Screen.h"
#include "MenuModel.h"
#include "ModalLoop.h"
#include "platform/handles.h"

using namespace platform::user;

namespace {

constexpr const char16_t* kPopupClass = u"MenuPopup";
constexpr int kItemUnits = 24;
constexpr int kSeparatorUnits = 8;
constexpr int kCheckColumnUnits = 20;
constexpr int kRightPaddingUnits = 16;

struct Tracking {
    HWND window = nullptr;
    std::vector<MenuEntry> items;
    std::vector<RECT> rects;  // client coordinates
    int hot = -1;
    bool done = false;
    UINT chosen = 0;
};

thread_local Tracking* t_tracking = nullptr;

int scale(int units) {
    return platform::Screen::instance().scale(units);
}

bool selectable(const MenuEntry& entry) {
    return !(entry.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP));
}

void drawCheck(HDC dc, const RECT& row, COLORREF colour) {
    int size = scale(8);
    int left = scale(6);
    int middle = (row.top + row.bottom) / 2;
    POINT mark[3] = {{left, middle}, {left + size / 3, middle + size / 3}, {left + size, middle - size / 2}};
    HPEN pen = CreatePen(PS_SOLID, std::max(1, scale(2)), colour);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, mark, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void paintItem(HDC dc, const Tracking& t, size_t i, int width) {
    const MenuEntry& entry = t.items[i];
    RECT row = t.rects[i];
    if (entry.flags & MF_SEPARATOR) {
        RECT line{scale(2), (row.top + row.bottom) / 2, width - scale(2), (row.top + row.bottom) / 2 + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
        return;
    }
    bool hot = static_cast<int>(i) == t.hot;
    if (hot) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    COLORREF colour = GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (entry.flags & (MF_GRAYED | MF_DISABLED)) colour = GetSysColor(COLOR_GRAYTEXT);
    if (entry.flags & MF_CHECKED) drawCheck(dc, row, colour);
    SetTextColor(dc, colour);
    RECT text{scale(kCheckColumnUnits), row.top, row.right - scale(kRightPaddingUnits) / 2, row.bottom};
    DrawTextW(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (entry.flags & MF_POPUP) DrawTextW(dc, u">", 1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK popupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* t = reinterpret_cast<Tracking*>(GetWindowLongPtrW(window, GWL_USERDATA));
    if (message != WM_PAINT || !t) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    for (size_t i = 0; i < t->items.size(); ++i)
        paintItem(dc, *t, i, client.right);
    SelectObject(dc, old);
    EndPaint(window, &ps);
    return 0;
}

// Rows of the items and the client size they need.
SIZE layOut(Tracking& t) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    int width = 0;
    int y = 0;
    for (const MenuEntry& entry : t.items) {
        SIZE text{};
        GetTextExtentPoint32W(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &text);
        width = std::max<int>(width, text.cx);
        int height = (entry.flags & MF_SEPARATOR) ? scale(kSeparatorUnits)
                                                  : std::max<int>(scale(kItemUnits), text.cy + scale(8));
        t.rects.push_back(RECT{0, y, 0, y + height});
        y += height;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    width += scale(kCheckColumnUnits) + scale(kRightPaddingUnits);
    for (RECT& r : t.rects)
        r.right = width;
    return SIZE{width, y};
}

// The window's place after the alignment flags, moved back onto the screen where it would leave it.
RECT placeWindow(UINT flags, int x, int y, SIZE size) {
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    RECT screen = platform::Screen::instance().bounds();
    x = std::max<int>(screen.left, std::min<int>(x, screen.right - size.cx));
    y = std::max<int>(screen.top, std::min<int>(y, screen.bottom - size.cy));
    return RECT{x, y, x + size.cx, y + size.cy};
}

int itemAt(const Tracking& t, LPARAM point) {
    POINT pt{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    for (size_t i = 0; i < t.rects.size(); ++i)
        if (PtInRect(&t.rects[i], pt)) return static_cast<int>(i);
    return -1;
}

void setHot(Tracking& t, int hot) {
    if (hot >= 0 && !selectable(t.items[static_cast<size_t>(hot)])) hot = -1;
    if (hot == t.hot) return;
    t.hot = hot;
    InvalidateRect(t.window, nullptr, TRUE);
}

void moveHot(Tracking& t, int direction) {
    int count = static_cast<int>(t.items.size());
    int at = t.hot;
    for (int i = 0; i < count; ++i) {
        at = ((at < 0 && direction < 0 ? count : at) + direction + count) % count;
        if (selectable(t.items[static_cast<size_t>(at)])) return setHot(t, at);
    }
}

void choose(Tracking& t, int index) {
    if (index < 0 || !selectable(t.items[static_cast<size_t>(index)])) return;
    t.chosen = t.items[static_cast<size_t>(index)].id;
    t.done = true;
}

bool handleKey(Tracking& t, const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return msg.message == WM_KEYUP || msg.message == WM_CHAR;
    if (msg.wParam == VK_ESCAPE) t.done = true;
    if (msg.wParam == VK_UP || msg.wParam == VK_DOWN) moveHot(t, msg.wParam == VK_UP ? -1 : 1);
    if (msg.wParam == VK_RETURN) choose(t, t.hot);
    return true;
}

// The loop's own handling of stylus and key messages; everything else is dispatched.
bool filter(Tracking& t, const MSG& msg) {
    bool stylus = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    if (!stylus) return (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) && handleKey(t, msg);
    RECT client;
    GetClientRect(t.window, &client);
    POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    bool inside = msg.hwnd == t.window && PtInRect(&client, pt);
    switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!inside)
                t.done = true;
            else
                setHot(t, itemAt(t, msg.lParam));
            break;
        case WM_MOUSEMOVE:
            if (msg.wParam & MK_LBUTTON) setHot(t, inside ? itemAt(t, msg.lParam) : -1);
            break;
        case WM_LBUTTONUP:
            if (inside) choose(t, itemAt(t, msg.lParam));
            if (!t.done) setHot(t, -1);
            break;
        default:
            break;
    }
    return true;
}

HWND createPopup(Tracking& t, UINT flags, int x, int y, HWND owner) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = popupProc;
    cls.lpszClassName = kPopupClass;
    RegisterClassW(&cls);  // fails harmlessly once the class exists
    SIZE size = layOut(t);
    RECT r = placeWindow(flags, x, y, SIZE{size.cx + 2, size.cy + 2});
    HWND window = CreateWindowExW(WS_EX_TOPMOST, kPopupClass, u"", WS_POPUP | WS_BORDER, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    if (!window) return nullptr;
    t.window = window;
    SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&t));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

}  // namespace

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
    if (t_tracking) return FALSE;  // one pop-up menu at a time
    Tracking t;
    if (!menuEntries(menu, &t.items)) return FALSE;
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(flags & TPM_NONOTIFY)) SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    if (!menuEntries(menu, &t.items) || t.items.empty() || !createPopup(t, flags, x, y, owner)) return FALSE;
    t_tracking = &t;
    // A tap on the menu activates it as any window; the window active before gets activation back.
    HWND wasActive = GetActiveWindow();
    SetCapture(t.window);
    ModalLoop loop;
    loop.modal = t.window;
    loop.owner = (flags & TPM_NONOTIFY) ? nullptr : owner;
    loop.idleKind = MSGF_MENU;
    loop.done = [&t] { return t.done || !IsWindow(t.window); };
    loop.filter = [&t](MSG& msg) { return filter(t, msg); };
    runModalLoop(loop);
    t_tracking = nullptr;
    if (GetCapture() == t.window) ReleaseCapture();
    if (IsWindow(t.window)) DestroyWindow(t.window);
    if (wasActive && IsWindow(wasActive) && GetActiveWindow() != wasActive) SetActiveWindow(wasActive);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(t.chosen);
    if (t.chosen) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(t.chosen, 0), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    if (!t_tracking) return FALSE;
    t_tracking->done = true;
    return TRUE;
}
