// SHCreateMenuBar: a "menu_worker" pop-up over the screen's bottom bar that shows the top-level
// items of a menu resource (the standard RT_MENU layout) and sends their commands to its owner.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../display/Screen.h"
#include "ShellState.h"
#include "platform/aygshell.h"
#include "platform/handles.h"
#include "platform/resources.h"
#include "platform/winerror.h"

namespace platform::pocketpc {

namespace {

constexpr WORD MF_POPUP_ITEM = 0x0010;
constexpr WORD MF_END_ITEM = 0x0080;
constexpr int kMaxMenuDepth = 16;  // as the platform's menus
constexpr int kItemPaddingUnits = 8;
constexpr int kSipButtonUnits = 26;
constexpr COLORREF kBarColor = RGB(212, 208, 200);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kPressedColor = RGB(10, 36, 106);
constexpr COLORREF kPressedText = RGB(255, 255, 255);
constexpr const char16_t* kClassName = u"menu_worker";

struct MenuItem {
    std::u16string text;
    UINT id = 0;
    bool popup = false;
    RECT rect{};
};

struct MenuBar {
    HWND owner = nullptr;
    std::vector<MenuItem> items;
    COLORREF background = kBarColor;
    bool sipButton = true;
    int pressed = -1;
};

// Reads items from data[pos] on until the item marked last; appends the top-level ones when keep.
// Pop-ups nest at most kMaxMenuDepth levels, so a damaged resource cannot exhaust the stack.
bool readItems(const WORD* data, size_t words, size_t& pos, std::vector<MenuItem>* keep, int depth = 0) {
    for (;;) {
        if (pos >= words || depth > kMaxMenuDepth) return false;
        WORD flags = data[pos++];
        MenuItem item;
        item.popup = flags & MF_POPUP_ITEM;
        if (!item.popup) {
            if (pos >= words) return false;
            item.id = data[pos++];
        }
        while (pos < words && data[pos] != 0)
            item.text += static_cast<char16_t>(data[pos++]);
        if (pos++ >= words) return false;
        if (item.popup && !readItems(data, words, pos, nullptr, depth + 1)) return false;
        if (keep) keep->push_back(std::move(item));
        if (flags & MF_END_ITEM) return true;
    }
}

// The top-level items of a menu resource; false with the error set when it cannot be read.
bool loadMenuItems(HINSTANCE module, UINT id, std::vector<MenuItem>& items) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_MENU);
    if (!found) return false;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    // The words are copied out, as a resource's bytes need not lie on a word boundary.
    std::vector<WORD> data(bytes ? SizeofResource(module, found) / sizeof(WORD) : 0);
    if (!data.empty()) std::memcpy(data.data(), bytes, data.size() * sizeof(WORD));
    size_t words = data.size();
    if (words < 2 || data[0] != 0 || data[1] % 2 != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    size_t pos = 2 + data[1] / 2;
    if (!readItems(data.data(), words, pos, &items)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return true;
}

MenuBar* barOf(HWND window) {
    return reinterpret_cast<MenuBar*>(GetWindowLongPtrW(window, GWL_USERDATA));
}

void layout(HWND window, MenuBar& bar, HDC dc) {
    const Screen& screen = Screen::instance();
    int x = 0;
    RECT client;
    GetClientRect(window, &client);
    for (MenuItem& item : bar.items) {
        SIZE size{};
        GetTextExtentPoint32W(dc, item.text.c_str(), static_cast<int>(item.text.size()), &size);
        int width = size.cx + 2 * screen.scale(kItemPaddingUnits);
        item.rect = RECT{x, 0, x + width, client.bottom};
        x += width;
    }
}

void paint(HWND window, MenuBar& bar) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    layout(window, bar, dc);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(bar.background);
    FillRect(dc, &client, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < bar.items.size(); ++i) {
        MenuItem& item = bar.items[i];
        bool pressed = static_cast<int>(i) == bar.pressed;
        if (pressed) {
            HBRUSH brush = CreateSolidBrush(kPressedColor);
            FillRect(dc, &item.rect, brush);
            DeleteObject(brush);
        }
        SetTextColor(dc, pressed ? kPressedText : kTextColor);
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &item.rect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (bar.sipButton) {
        int size = Screen::instance().scale(kSipButtonUnits);
        RECT outline{client.right - size + 4, 5, client.right - 4, client.bottom - 5};
        RECT inside{outline.left + 1, outline.top + 1, outline.right - 1, outline.bottom - 1};
        HBRUSH dark = CreateSolidBrush(kTextColor);
        HBRUSH light = CreateSolidBrush(bar.background);
        FillRect(dc, &outline, dark);
        FillRect(dc, &inside, light);
        DeleteObject(dark);
        DeleteObject(light);
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

int itemAt(const MenuBar& bar, LPARAM point) {
    POINT pt{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    for (size_t i = 0; i < bar.items.size(); ++i)
        if (PtInRect(&bar.items[i].rect, pt)) return static_cast<int>(i);
    return -1;
}

bool onSipButton(HWND window, LPARAM point) {
    RECT client;
    GetClientRect(window, &client);
    return static_cast<short>(LOWORD(point)) >= client.right - Screen::instance().scale(kSipButtonUnits);
}

void release(HWND window, MenuBar& bar, LPARAM point) {
    int pressed = bar.pressed;
    bar.pressed = -1;
    ReleaseCapture();
    InvalidateRect(window, nullptr, TRUE);
    if (pressed >= 0 && itemAt(bar, point) == pressed && !bar.items[pressed].popup)
        SendMessageW(bar.owner, WM_COMMAND, MAKEWPARAM(bar.items[pressed].id, 0),
                     reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK menuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MenuBar* bar = barOf(window);
    if (!bar) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            paint(window, *bar);
            return 0;
        case WM_LBUTTONDOWN:
            if (bar->sipButton && onSipButton(window, lParam)) {
                setInputPanelUp(!inputPanelUp());
                return 0;
            }
            bar->pressed = itemAt(*bar, lParam);
            if (bar->pressed >= 0) SetCapture(window);
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_LBUTTONUP:
            if (bar->pressed >= 0) release(window, *bar, lParam);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWL_USERDATA, 0);
            delete bar;
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

}  // namespace platform::pocketpc

using namespace platform::pocketpc;

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (!info || info->cbSize != sizeof(SHMENUBARINFO)) return fail(ERROR_INVALID_PARAMETER);
    if (!IsWindow(info->hwndParent)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    if (info->dwFlags & SHCMBF_HMENU) return fail(ERROR_NOT_SUPPORTED);
    auto bar = std::make_unique<MenuBar>();
    bar->owner = info->hwndParent;
    bar->sipButton = !(info->dwFlags & SHCMBF_HIDESIPBUTTON);
    if (info->dwFlags & SHCMBF_COLORBK) bar->background = info->clrBk;
    if (!(info->dwFlags & SHCMBF_EMPTYBAR) && !loadMenuItems(info->hInstRes, info->nToolBarId, bar->items))
        return FALSE;
    WNDCLASSW cls{};
    cls.lpfnWndProc = menuBarProc;
    cls.lpszClassName = kClassName;
    RegisterClassW(&cls);  // fails harmlessly once the class exists
    const platform::Screen& screen = platform::Screen::instance();
    int height = screen.scale(kBottomBarUnits);
    DWORD style = WS_POPUP | ((info->dwFlags & SHCMBF_HIDDEN) ? 0 : WS_VISIBLE);
    HWND window = CreateWindowExW(0, kClassName, u"", style & ~WS_VISIBLE, 0, screen.height() - height,
                                  screen.width(), height, info->hwndParent, nullptr, nullptr, nullptr);
    if (!window) return FALSE;
    SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(bar.release()));
    if (style & WS_VISIBLE) ShowWindow(window, SW_SHOWNOACTIVATE);
    info->hwndMB = window;
    return TRUE;
}
