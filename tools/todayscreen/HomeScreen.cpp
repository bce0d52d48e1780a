// The home screen window: its items' life, layout, refresh and selection, and the services it gives
// them.
#include "HomeScreen.h"

#include "platform/device.h"
#include "platform/windows.h"

namespace todayscreen {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;

HomeScreen* screenOf(HWND window) {
    return reinterpret_cast<HomeScreen*>(GetWindowLongPtrW(window, GWL_USERDATA));
}

bool registerClass(WNDPROC proc) {
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, kHomeScreenClass, &existing)) return existing.lpfnWndProc == proc;
    WNDCLASSW cls{};
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kHomeScreenClass;
    return RegisterClassW(&cls) != 0;
}

}  // namespace

HomeScreen::HomeScreen(std::function<void(const std::string&)> report) : m_report(std::move(report)) {}

HomeScreen::~HomeScreen() {
    unloadItems();
    if (m_window != nullptr && IsWindow(m_window)) DestroyWindow(m_window);
}

bool HomeScreen::create() {
    if (m_window != nullptr) return true;
    if (!registerClass(windowProc)) return false;
    // The window binds itself to this object at WM_CREATE.
    if (CreateWindowExW(0, kHomeScreenClass, kHomeScreenTitle, WS_VISIBLE | WS_CLIPCHILDREN, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                        GetModuleHandleW(nullptr), this) == nullptr)
        return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    m_shownDay = now.wDay;
    loadItems();
    SetTimer(m_window, kRefreshTimer, kRefreshPeriod, nullptr);
    SetFocus(m_window);
    return true;
}

void HomeScreen::loadItems() {
    for (const RegisteredItem& registered : readRegisteredItems()) {
        if (!isLoadable(registered)) continue;
        auto item = std::make_unique<HostedItem>();
        const std::string name = platform::toUtf8(registered.name);
        if (!item->load(registered, m_window)) {
            if (m_report) m_report("item " + name + " is not shown: " + item->failure());
            continue;
        }
        if (m_report) m_report("item " + name + " loaded from " + platform::toUtf8(registered.library));
        m_items.push_back(std::move(item));
    }
    refreshItems();
    layoutItems();
}

void HomeScreen::unloadItems() {
    m_selected = -1;
    // The last loaded goes first, as libraries may depend on the ones loaded before them.
    while (!m_items.empty())
        m_items.pop_back();
}

void HomeScreen::reloadItems() {
    unloadItems();
    loadItems();
    InvalidateRect(m_window, nullptr, TRUE);
}

int HomeScreen::refreshItems() {
    int changed = 0;
    bool heightChanged = false;
    for (auto& item : m_items) {
        const DWORD before = item->record().cyp;
        if (!SendMessageW(item->window(), WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0,
                          reinterpret_cast<LPARAM>(&item->record())))
            continue;
        ++changed;
        heightChanged = heightChanged || item->record().cyp != before;
        InvalidateRect(item->window(), nullptr, TRUE);
    }
    if (heightChanged) layoutItems();
    return changed;
}

void HomeScreen::layoutItems() {
    RECT client{};
    GetClientRect(m_window, &client);
    int top = headerRect().bottom;
    for (auto& item : m_items) {
        const int height = static_cast<int>(item->record().cyp);
        SetWindowPos(item->window(), nullptr, 0, top, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
        top += height;
    }
}

LRESULT CALLBACK HomeScreen::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HomeScreen* screen = screenOf(window);
    if (screen == nullptr && message == WM_CREATE) {
        screen = static_cast<HomeScreen*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(screen));
        screen->m_window = window;
    }
    if (screen == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed with its items still loaded: their windows went with it (children get
        // WM_NCDESTROY first), so only now may their libraries be freed.
        screen->unloadItems();
        SetWindowLongPtrW(window, GWL_USERDATA, 0);
        screen->m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return screen->handle(message, wParam, lParam);
}

LRESULT HomeScreen::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the whole client is painted in WM_PAINT
        case WM_SIZE:
            layoutItems();
            return 0;
        case WM_KEYDOWN:
            onKey(static_cast<UINT>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kRefreshTimer) onTimer();
            return 0;
        case WM_SETTINGCHANGE:
            onSettingChange(wParam);
            return 0;
        case TODAYM_GETCOLOR:
            return static_cast<LRESULT>(kTextColour);
        case TODAYM_DRAWWATERMARK:
            drawWatermark(reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam));
            return TRUE;
        case WM_CLOSE:
            // Closing the home screen ends the program. The items go first, while their windows can
            // still be destroyed on their own.
            unloadItems();
            DestroyWindow(m_window);
            PostQuitMessage(0);
            return 0;
        case WM_DESTROY:
            KillTimer(m_window, kRefreshTimer);
            return 0;
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void HomeScreen::onKey(UINT key) {
    if (key == VK_UP || key == VK_DOWN) {
        moveSelection(key);
        return;
    }
    if (m_selected < 0) return;
    HWND item = m_items[static_cast<size_t>(m_selected)]->window();
    if (key == VK_RETURN)
        SendMessageW(item, WM_TODAYCUSTOM_ACTION, key, 0);
    else
        SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, key, 0);
}

// Up and down go to the selected item first; when it lets the selection go, the next item in that
// direction that takes it gets it, or none when the list ends.
void HomeScreen::moveSelection(UINT key) {
    const int step = key == VK_DOWN ? 1 : -1;
    const int count = static_cast<int>(m_items.size());
    int from = step > 0 ? 0 : count - 1;
    if (m_selected >= 0) {
        HWND item = m_items[static_cast<size_t>(m_selected)]->window();
        if (SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, key, 0)) return;
        SendMessageW(item, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
        from = m_selected + step;
    }
    m_selected = -1;
    for (int i = from; i >= 0 && i < count; i += step) {
        const HostedItem& item = *m_items[static_cast<size_t>(i)];
        if (item.selectable() && SendMessageW(item.window(), WM_TODAYCUSTOM_RECEIVEDSELECTION, key, 0)) {
            m_selected = i;
            return;
        }
    }
}

void HomeScreen::onTimer() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wDay != m_shownDay) {
        m_shownDay = now.wDay;
        const RECT header = headerRect();
        InvalidateRect(m_window, &header, TRUE);
    }
    refreshItems();
}

void HomeScreen::onSettingChange(WPARAM setting) {
    if (setting == TODAY_SETTINGCHANGE_ITEMS) {
        reloadItems();
        return;
    }
    if (setting == SETTINGCHANGE_RESET) {
        // The screen turned: the window covers the new work area.
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        MoveWindow(m_window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
}

void HomeScreen::drawWatermark(const TODAYDRAWWATERMARKINFO* info) {
    if (info == nullptr || info->hdc == nullptr) return;
    POINT origin{0, 0};
    MapWindowPoints(info->hwnd, m_window, &origin, 1);
    paintBackground(info->hdc, info->rc, origin);
}

int HomeScreen::scaleY(int units) const {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return units * dpi / 96;
}

RECT HomeScreen::headerRect() const {
    RECT client{};
    GetClientRect(m_window, &client);
    return RECT{0, 0, client.right, scaleY(kHeaderUnits)};
}

}  // namespace todayscreen
