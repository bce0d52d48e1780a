// FingerList: the caption, list view and scroll bar laid out in the control, the scroll requests
// of the bar turned into moved rows, and the list's notifications passed on.

#include "FingerList.h"

#include <algorithm>

#include "ControlMessages.h"
#include "ScreenMetrics.h"

int FingerList::s_scrollOffset = 0;

namespace {

constexpr int kCaptionLeftUnits = 4;
constexpr int kCaptionBottomUnits = 13;
constexpr int kCaptionFontUnits = 13;
constexpr int kListLeftUnits = 3;
constexpr int kListTopUnits = 14;
constexpr int kInitialRowWidthUnits = 190;
constexpr int kBarWidthUnits = 13;
constexpr int kPageRows = FingerListView::kVisibleRows;

}  // namespace

FingerList::~FingerList() {
    destroy();
    if (m_captionFont != nullptr) DeleteObject(m_captionFont);
}

bool FingerList::create(HWND parent, int x, int y) {
    setBackgroundColor(kBackground);
    RECT rect{x, y, x + scaleX(kWidthUnits), y + scaleY(kHeightUnits)};
    if (!ControlBase::create(parent, rect, u"FingerList")) return false;
    m_captionFont = CreateFontW(scaleY(kCaptionFontUnits), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, 0, 0, 0, 0, u"Times new roman");
    RECT captionRect{scaleX(kCaptionLeftUnits), 0, rect.right - rect.left, scaleY(kCaptionBottomUnits)};
    m_caption.setBackgroundColor(kBackground);
    if (!m_caption.create(m_window, captionRect, u"FingerList", 0)) return false;
    m_caption.setFont(m_captionFont);
    m_caption.setTextColor(kCaptionColor);
    if (!m_view.create(m_window, scaleX(kListLeftUnits), scaleY(kListTopUnits), scaleX(kInitialRowWidthUnits),
                       scaleY(kRowHeightUnits)))
        return false;
    if (!m_bar.create(m_window, RECT{0, 0, scaleX(kBarWidthUnits), kPageRows * m_view.rowHeight()}))
        return false;
    ShowWindow(m_bar.window(), SW_HIDE);
    layoutChildren();
    return true;
}

void FingerList::setCaption(LPCWSTR text) {
    m_caption.setText(text, false);
    if (m_view.window() != nullptr) InvalidateRect(m_view.window(), nullptr, FALSE);
}

void FingerList::setItems(std::vector<ListItem> items) {
    m_view.setItems(std::move(items));
    s_scrollOffset = 0;
    int rowHeight = m_view.rowHeight();
    bool scrolls = m_view.count() > kPageRows;
    m_bar.setRange(scrolls ? m_view.count() * rowHeight : 0, kPageRows * rowHeight);
    m_bar.setPosition(0);
    if (m_bar.window() != nullptr) ShowWindow(m_bar.window(), scrolls ? SW_SHOW : SW_HIDE);
    layoutChildren();
}

void FingerList::setScrollBarOnLeft(bool left) {
    if (left == m_barOnLeft) return;
    m_barOnLeft = left;
    layoutChildren();
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

bool FingerList::barShown() const {
    return m_bar.window() != nullptr && (GetWindowLongW(m_bar.window(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void FingerList::layoutChildren() {
    if (m_window == nullptr || m_view.window() == nullptr) return;
    RECT client{};
    GetClientRect(m_window, &client);
    int barWidth = scaleX(kBarWidthUnits);
    int listWidth = client.right - scaleX(2) - 2;
    int listLeft = scaleX(kListLeftUnits);
    if (barShown()) {
        listWidth -= barWidth + scaleX(1);
        // On the left the rows start where the bar and the gap after it end.
        if (m_barOnLeft) listLeft = barWidth + scaleX(1);
    }
    RECT view{};
    GetWindowRect(m_view.window(), &view);
    SetWindowPos(m_view.window(), nullptr, listLeft, scaleY(kListTopUnits), std::max(0, listWidth),
                 view.bottom - view.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_bar.window(), nullptr, m_barOnLeft ? 0 : client.right - barWidth, scaleY(kListTopUnits),
                 barWidth, kPageRows * m_view.rowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_caption.window(), nullptr, scaleX(kCaptionLeftUnits), 0,
                 std::max<LONG>(0, client.right - scaleX(kCaptionLeftUnits)), scaleY(kCaptionBottomUnits),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void FingerList::onScroll(int code) {
    if (m_view.motion().state() != KineticScroll::State::Idle) m_view.snapTo(0);
    int rowHeight = m_view.rowHeight();
    int current = m_view.scrollPosition() + s_scrollOffset;
    int target = current;
    switch (code) {
        case SB_LINEUP:
            target -= rowHeight;
            break;
        case SB_LINEDOWN:
            target += rowHeight;
            break;
        case SB_PAGEUP:
            target -= kPageRows * rowHeight;
            break;
        case SB_PAGEDOWN:
            target += kPageRows * rowHeight;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            target = m_bar.trackPosition();
            break;
        default:
            return;
    }
    target = std::clamp(target, 0, std::max(0, m_view.count() * rowHeight - kPageRows * rowHeight));
    // The rows move by the change; the offset accumulates until the bar's release snaps it.
    s_scrollOffset += target - current;
    m_view.drawScrolled(s_scrollOffset);
    m_bar.setPosition(target);
}

void FingerList::onScrollReleased() {
    int offset = s_scrollOffset;
    s_scrollOffset = 0;
    m_view.snapTo(offset);
}

LRESULT FingerList::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LIST_CONFIRMED:
        case WM_CHAR:
            PostMessageW(GetParent(window), message, wParam, lParam);
            return 0;
        case WM_LIST_SCROLLED:
            // The thumb follows the rows as the finger or the motion moves them.
            m_bar.setPosition(m_view.scrollPosition() + static_cast<int>(static_cast<INT_PTR>(wParam)));
            return 0;
        case WM_VSCROLL:
            onScroll(LOWORD(wParam));
            return 0;
        case WM_SCROLLBAR_RELEASED:
            onScrollReleased();
            return 0;
        case WM_SIZE:
            layoutChildren();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam != 0 && m_view.window() != nullptr) SetFocus(m_view.window());
            break;
        case WM_SETFOCUS:
            if (m_view.window() != nullptr) SetFocus(m_view.window());
            return 0;
        default:
            break;
    }
    return ControlBase::windowProc(window, message, wParam, lParam);
}
