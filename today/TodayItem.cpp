// The item window's creation and its answers to the home screen's messages, the stylus and keys.
#include "TodayItem.h"

#include "DateTime.h"
#include "DetailsDialog.h"
#include "Launcher.h"
#include "NotificationBlock.h"
#include "PasswordGate.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr int kCreatedWidth = 240;

// Posted to the item window by a load whose build of the future list failed: the message is shown once
// the load is over and the store closed, never inside window creation or a refresh query.
constexpr UINT kMsgReportFutureList = WM_APP + 1;

// The message of a failed build of the future list. A write that failed (the table full, or the store
// refusing it) has a text of its own.
const WCHAR* futureListFailureText(dove::FutureListStatus status) {
    switch (status) {
        case dove::FutureListStatus::OpenFailed:
            return u"Error Open FutureList Database";
        case dove::FutureListStatus::CreateFailed:
            return u"Error Create FutureList Database";
        case dove::FutureListStatus::WriteFailed:
            return u"Error Write record FutureList Database";
        case dove::FutureListStatus::ReadFailed:
        case dove::FutureListStatus::Built:
        case dove::FutureListStatus::Unchanged:
            break;
    }
    return u"Error Read record FutureList Database";
}

TodayItem* itemOf(HWND window) {
    return reinterpret_cast<TodayItem*>(GetWindowLongPtrW(window, GWL_USERDATA));
}

POINT pointOf(LPARAM lParam) {
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

}  // namespace

TodayItem::TodayItem(HINSTANCE module) : m_module(module) {
    m_flags.open();
}

TodayItem::~TodayItem() {
    if (m_window != nullptr && IsWindow(m_window)) DestroyWindow(m_window);
    m_window = nullptr;
    UnregisterClassW(kItemClass, m_module);
    if (m_icon != nullptr) ImageList_Destroy(m_icon);
    if (m_launchIcon != nullptr) ImageList_Destroy(m_launchIcon);
    m_flags.close();
    m_data.clear();
}

HWND TodayItem::create(HWND parent) {
    if (m_window == nullptr || !IsWindow(m_window)) {
        m_window = nullptr;
        UnregisterClassW(kItemClass, m_module);
        WNDCLASSW cls{};
        cls.style = CS_HREDRAW | CS_VREDRAW;
        cls.lpfnWndProc = windowProc;
        cls.hInstance = m_module;
        cls.lpszClassName = kItemClass;
        if (RegisterClassW(&cls) == 0) return nullptr;
        // The window binds itself to this object at WM_CREATE, before CreateWindowExW returns.
        if (CreateWindowExW(0, kItemClass, kItemWindowName, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, kCreatedWidth, 0, parent, nullptr, m_module,
                            this) == nullptr)
            return nullptr;
    }
    ShowWindow(m_window, SW_SHOW);
    return m_window;
}

LRESULT CALLBACK TodayItem::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TodayItem* item = itemOf(window);
    if (item == nullptr && message == WM_CREATE) {
        item = static_cast<TodayItem*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(item));
        item->m_window = window;
    }
    if (item == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWL_USERDATA, 0);
        if (item->m_window == window) item->m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return item->handle(message, wParam, lParam);
}

LRESULT TodayItem::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            created();
            return 0;
        case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
            return queryRefresh(reinterpret_cast<TODAYLISTITEM*>(lParam));
        case WM_TODAYCUSTOM_RECEIVEDSELECTION:
            setArea(Area::Setup);
            return TRUE;
        case WM_TODAYCUSTOM_LOSTSELECTION:
            setArea(Area::None);
            return TRUE;
        case WM_TODAYCUSTOM_USERNAVIGATION:
            return navigate(static_cast<UINT>(wParam));
        case WM_TODAYCUSTOM_ACTION:
            action(m_area);
            return TRUE;
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_LBUTTONDOWN:
            stylusDown(pointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            stylusUp(pointOf(lParam));
            return 0;
        case WM_SIZE:
            m_buttonRectStale = true;
            return 0;
        case kMsgReportFutureList:
            reportFutureListFailure(static_cast<dove::FutureListStatus>(wParam));
            return 0;
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void TodayItem::created() {
    HDC screen = GetDC(nullptr);
    m_layout = ItemLayout(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    measureLineHeight();
    loadImages();
    reload();
    m_refresh.loaded(dove::nowLocal());
}

BOOL TodayItem::queryRefresh(TODAYLISTITEM* record) {
    if (record == nullptr) return FALSE;
    if (record->cyp == 0) {
        record->cyp = static_cast<DWORD>(m_layout.itemHeight());
        return TRUE;
    }
    const RefreshChanges changes = m_refresh.changed(dove::nowLocal());
    if (!changes.any()) return FALSE;
    if (changes.scheduled) m_data.scheduledDataChanged();
    reload();
    InvalidateRect(m_window, nullptr, TRUE);
    return TRUE;
}

BOOL TodayItem::navigate(UINT key) {
    switch (key) {
        case VK_LEFT:
            if (m_area > Area::Setup) m_area = static_cast<Area>(static_cast<int>(m_area) - 1);
            InvalidateRect(m_window, nullptr, TRUE);
            return TRUE;
        case VK_RIGHT:
            if (m_area < Area::Launch) m_area = static_cast<Area>(static_cast<int>(m_area) + 1);
            InvalidateRect(m_window, nullptr, TRUE);
            return TRUE;
        case VK_UP:
        case VK_DOWN:
            // The home screen moves the selection to the neighbouring item and tells this one it lost it.
            InvalidateRect(m_window, nullptr, TRUE);
            return FALSE;
        default:
            return TRUE;
    }
}

void TodayItem::action(Area area) {
    switch (area) {
        case Area::Setup:
            m_log.value(u"Start Brimwell", startBrimwell(false) ? 1 : 0);
            break;
        case Area::Text:
            textAction();
            break;
        case Area::Launch:
            startDashel();
            break;
        case Area::None:
            break;
    }
}

// The text leads to the details of what is loaded; with nothing loaded, to Brimwell's Today set-up
// where the user chooses what to show. The data password is asked first when Brimwell does not run,
// or when it runs and has raised flag 2 to have it asked again; the flag is read (and cleared) at
// every opening. A store that cannot be read for the password keeps the details closed.
void TodayItem::textAction() {
    if (!m_data.anythingToShow()) {
        m_log.value(u"Start Brimwell set-up", startBrimwell(true) ? 1 : 0);
        return;
    }
    const bool askAgain = m_flags.readAndClear(dove::kFlagPassword);
    m_log.value(u"Password asked again", askAgain ? 1 : 0);
    if (askAgain || FindWindowW(kBrimwellClass, nullptr) == nullptr) {
        const GateResult gate = passDataPasswordGate(m_window);
        m_log.value(u"Password gate", static_cast<int>(gate));
        if (gate != GateResult::Open) return;
    }
    // Only the details show the balances as of today: they are read now, not at every refresh.
    m_data.loadBalancesAsOfToday();
    DetailsDialog details(detailEntries(m_data));
    m_log.value(u"Details", static_cast<int>(details.run(m_window)));
}

void TodayItem::eraseBackground(HDC dc) {
    TODAYDRAWWATERMARKINFO info{};
    info.hdc = dc;
    info.hwnd = m_window;
    GetClientRect(m_window, &info.rc);
    SendMessageW(GetParent(m_window), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&info));
}

void TodayItem::stylusDown(POINT point) {
    if (m_layout.areaAt(client(), point) != Area::Launch) return;
    SetCapture(m_window);
    m_button = ButtonState::Held;
    invalidateButton();
}

void TodayItem::stylusUp(POINT point) {
    m_log.point(u"Tap", point.x, point.y);
    if (m_button == ButtonState::Held) {
        ReleaseCapture();
        m_button = ButtonState::Released;
        invalidateButton();
        startDashel();
        return;
    }
    const Area area = m_layout.areaAt(client(), point);
    if (area == Area::Setup)
        action(Area::Setup);
    else if (area != Area::None)
        textAction();
}

void TodayItem::reload() {
    m_data.reload();
    m_log.value(u"Load", m_data.loadCount());
    const std::optional<dove::FutureListStatus> build = m_data.futureListBuild();
    if (!build || dove::succeeded(*build)) return;
    m_log.value(u"Future list failed", static_cast<int>(*build));
    // One message at a time: the loads that fail while it is shown are not reported again.
    if (m_failureReported) return;
    m_failureReported = PostMessageW(m_window, kMsgReportFutureList, static_cast<WPARAM>(*build), 0) != FALSE;
}

void TodayItem::reportFutureListFailure(dove::FutureListStatus status) {
    MessageBoxW(m_window, futureListFailureText(status), kFutureListCaption, MB_OK | MB_ICONEXCLAMATION);
    m_failureReported = false;
}

void TodayItem::startDashel() {
    m_log.value(u"Start Dashel", static_cast<int>(today::startDashel()));
}

void TodayItem::setArea(Area area) {
    if (m_area == area) return;
    m_area = area;
    InvalidateRect(m_window, nullptr, TRUE);
}

RECT TodayItem::client() const {
    RECT rect{};
    GetClientRect(m_window, &rect);
    return rect;
}

RECT TodayItem::buttonRect() {
    if (m_buttonRectStale) {
        m_buttonRect = m_layout.launchButton(client());
        m_buttonRectStale = false;
    }
    return m_buttonRect;
}

void TodayItem::invalidateButton() {
    RECT rect = buttonRect();
    // The held look is one pixel down and right of the normal one.
    rect.right += 1;
    rect.bottom += 1;
    InvalidateRect(m_window, &rect, TRUE);
}

}  // namespace today
