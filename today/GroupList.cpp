// The details list: layout of its sections, scrolling, drawing and the stylus on its entries.
#include "GroupList.h"

#include <algorithm>
#include <cstdlib>

#include "ScrollTarget.h"
#include "TextPopup.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr int kPoints = 9;
constexpr int kSectionGap = 5;     // units between sections
constexpr int kLineStep = 5;       // units a line step scrolls
constexpr int kPageStep = 50;      // units a page step scrolls
constexpr int kTextMargin = 4;     // units left and right of an entry's text
constexpr int kEntryPadding = 5;   // units above and below an entry's text
constexpr int kMoveTolerance = 5;  // units the stylus may move before a press is no longer one
constexpr UINT kLongPressMs = 500;
constexpr UINT_PTR kLongPressTimer = 1;
constexpr const WCHAR* kOkCaption = u"OK";
constexpr COLORREF kBackground = RGB(255, 255, 255);

}  // namespace

GroupList::GroupList(const SectionEntries& sections)
    : m_scale(ScreenScale::current()),
      m_font(createTahoma(m_scale, kPoints, false)),
      m_fonts(std::make_unique<MarkupFonts>(m_font)) {
    for (int kind = 0; kind < kSectionCount; ++kind)
        m_sections.emplace_back(static_cast<SectionKind>(kind), sections[static_cast<size_t>(kind)]);
}

GroupList::~GroupList() {
    destroy();
    m_fonts.reset();
    if (m_font != nullptr) DeleteObject(m_font);
}

HWND GroupList::create(HWND owner, const RECT& rect) {
    return WindowObject::create(0, kGroupListName, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, rect,
                                owner, 0);
}

int GroupList::maxScrollPosition() const {
    return std::max(0, m_contentHeight - m_clientHeight);
}

int GroupList::sectionTop(int index) const {
    int top = 0;
    for (int k = 0; k < index; ++k) {
        const int height = m_sections[static_cast<size_t>(k)].height();
        if (height > 0) top += height + m_scale.scaleY(kSectionGap);
    }
    return top;
}

// Lays the sections out for the client's width (entries are cut, never wrapped, so their heights do
// not depend on it) and sets the scroll bar's range to the content.
void GroupList::relayout() {
    RECT client{};
    GetClientRect(m_window, &client);
    m_clientHeight = client.bottom;
    HDC dc = GetDC(m_window);
    for (ListSection& section : m_sections)
        section.layout(dc, *m_fonts, client.right, m_scale.scaleX(kTextMargin),
                       m_scale.scaleY(kEntryPadding));
    ReleaseDC(m_window, dc);
    m_contentHeight = 0;
    for (int k = 0; k < kSectionCount; ++k)
        if (m_sections[static_cast<size_t>(k)].height() > 0)
            m_contentHeight = sectionTop(k) + m_sections[static_cast<size_t>(k)].height();
    m_position = std::clamp(m_position, 0, maxScrollPosition());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, m_contentHeight - 1);
    info.nPage = static_cast<UINT>(std::max(0, m_clientHeight));
    info.nPos = m_position;
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
    InvalidateRect(m_window, nullptr, TRUE);
}

void GroupList::scrollTo(int position) {
    position = std::clamp(position, 0, maxScrollPosition());
    if (position == m_position) return;
    m_position = position;
    SetScrollPos(m_window, SB_VERT, m_position, TRUE);
    InvalidateRect(m_window, nullptr, TRUE);
}

void GroupList::scrolled(WORD code, int position) {
    const std::optional<int> target = scrollTarget(code, position, m_position, m_scale.scaleY(kLineStep),
                                                   m_scale.scaleY(kPageStep), maxScrollPosition());
    if (target) scrollTo(*target);
}

GroupList::EntryRef GroupList::entryAt(POINT client) const {
    const int y = client.y + m_position;
    for (int k = 0; k < kSectionCount; ++k) {
        const ListSection& section = m_sections[static_cast<size_t>(k)];
        const int top = sectionTop(k);
        if (y < top || y >= top + section.height()) continue;
        const int entry = section.entryAt(y - top);
        if (entry >= 0) return EntryRef{k, entry};
    }
    return EntryRef{};
}

RECT GroupList::entryRect(EntryRef ref) const {
    if (ref.section < 0 || ref.section >= kSectionCount) return RECT{};
    RECT client{};
    GetClientRect(m_window, &client);
    const ListSection& section = m_sections[static_cast<size_t>(ref.section)];
    const int top = sectionTop(ref.section) + section.entryTop(ref.entry) - m_position;
    return RECT{0, top, client.right, top + section.entryHeight(ref.entry)};
}

void GroupList::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    HBRUSH white = CreateSolidBrush(kBackground);
    FillRect(dc, &ps.rcPaint, white);
    DeleteObject(white);
    for (int k = 0; k < kSectionCount; ++k) {
        const int pressed = m_press.section == k ? m_press.entry : -1;
        m_sections[static_cast<size_t>(k)].draw(dc, *m_fonts, sectionTop(k) - m_position, client.right,
                                                pressed, ps.rcPaint);
    }
    EndPaint(m_window, &ps);
}

void GroupList::invalidateEntry(EntryRef ref) {
    const RECT rect = entryRect(ref);
    InvalidateRect(m_window, &rect, TRUE);
}

void GroupList::stylusDown(POINT point) {
    cancelPress();
    const EntryRef ref = entryAt(point);
    if (ref.section < 0) return;
    m_press = ref;
    m_pressPoint = point;
    SetCapture(m_window);
    SetTimer(m_window, kLongPressTimer, kLongPressMs, nullptr);
    invalidateEntry(ref);
}

void GroupList::stylusMove(POINT point) {
    if (m_press.section < 0) return;
    const int tolerance = m_scale.scaleX(kMoveTolerance);
    if (std::abs(point.x - m_pressPoint.x) >= tolerance || std::abs(point.y - m_pressPoint.y) >= tolerance)
        cancelPress();
}

void GroupList::stylusUp(POINT point) {
    if (m_press.section < 0) return;
    const EntryRef ref = m_press;
    cancelPress();
    if (entryAt(point) == ref) tap(ref, point);
}

void GroupList::longPress() {
    if (m_press.section < 0) return;
    const EntryRef ref = m_press;
    const POINT point = m_pressPoint;
    cancelPress();
    showPopup(m_sections[static_cast<size_t>(ref.section)].entry(ref.entry).markup, point);
}

// Forgets the press (first, so that the capture's loss finds nothing to cancel), its timer, its
// capture and its highlight.
void GroupList::cancelPress() {
    if (m_press.section < 0) return;
    const EntryRef ref = m_press;
    m_press = EntryRef{};
    KillTimer(m_window, kLongPressTimer);
    if (GetCapture() == m_window) ReleaseCapture();
    invalidateEntry(ref);
}

void GroupList::tap(EntryRef ref, POINT point) {
    const ListSection& section = m_sections[static_cast<size_t>(ref.section)];
    const std::u16string& alert = section.entry(ref.entry).alert;
    if (!alert.empty()) {
        showPopup(alert, point);
        return;
    }
    SendMessageW(GetParent(m_window), kMsgShowEntry, static_cast<WPARAM>(section.kind()),
                 static_cast<LPARAM>(ref.entry));
}

void GroupList::showPopup(const std::u16string& markup, POINT client) {
    POINT screen = client;
    ClientToScreen(m_window, &screen);
    UpdateWindow(m_window);
    TextPopup popup(GetParent(m_window), markup, screen, {kOkCaption});
    popup.run();
    // The whole list is drawn again, not only where the pop-up was, so that each entry's text is
    // one piece on the screen again.
    InvalidateRect(m_window, nullptr, TRUE);
}

LRESULT GroupList::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    switch (message) {
        case WM_CREATE:
        case WM_SIZE:
            relayout();
            return 0;
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_VSCROLL:
            scrolled(LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(point);
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(point);
            return 0;
        case WM_LBUTTONUP:
            stylusUp(point);
            return 0;
        case WM_TIMER:
            if (wParam == kLongPressTimer) longPress();
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != m_window) cancelPress();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) scrolled(wParam == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
            return 0;
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace today
