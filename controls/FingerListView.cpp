// FingerListView: stylus input and timers fed to the motion, the rows drawn through one off-screen
// bitmap (at rest or at an offset), selection, keys and page keys, and the notifications.

#include "FingerListView.h"

#include <algorithm>

#include "ControlMessages.h"
#include "ScreenMetrics.h"

namespace {

constexpr int kFingerDragUnits = 10;  // the finger moves this far before the rows follow
constexpr int kTapSlopUnits = 2;
constexpr int kDrawSlopUnits = 1;
constexpr int kPageRows = 4;
constexpr int kTextLeft = 4;        // pixels between the row's left edge and a top-level text
constexpr int kIndentPerLevel = 8;  // pixels of indentation per ancestor
constexpr int kRightTextGap = 2;    // pixels between the main text's room and the right texts
constexpr const WCHAR* kEllipsis = u"...";
constexpr int kEllipsisLength = 3;
constexpr UINT kTextFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

int floorDiv(int a, int b) {
    int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

HFONT listFont(int units, int weight) {
    return CreateFontW(scaleY(units), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                       u"Times new roman");
}

int textWidth(HDC hdc, const std::u16string& text) {
    SIZE size{};
    if (text.empty() || !GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

}  // namespace

FingerListView::~FingerListView() {
    destroy();
    if (m_canvas != nullptr) {
        SelectObject(m_canvas, m_canvasPrevious);
        DeleteDC(m_canvas);
    }
    if (m_canvasBitmap != nullptr) DeleteObject(m_canvasBitmap);
    if (m_ownsFonts)
        for (HFONT font : {m_bold, m_normal, m_small})
            if (font != nullptr) DeleteObject(font);
}

bool FingerListView::create(HWND parent, int x, int y, int rowWidth, int rowHeight) {
    if (m_window != nullptr) return true;
    KineticScroll::Distances distances{scaleX(kFingerDragUnits), scaleX(kTapSlopUnits),
                                       scaleX(kDrawSlopUnits)};
    m_scroll = KineticScroll(rowHeight, distances);
    m_scroll.setCount(count());
    createDefaultFonts();
    int rows = m_fitToCount ? std::min(count(), kVisibleRows) : kVisibleRows;
    RECT rect{x, y, x + rowWidth, y + rows * m_scroll.rowHeight()};
    return WindowObject::create(0, u"FingerList", WS_CHILD | WS_VISIBLE, rect, parent, 0) != nullptr;
}

void FingerListView::createDefaultFonts() {
    if (m_bold != nullptr) return;
    m_bold = listFont(14, FW_BOLD);
    m_normal = listFont(14, FW_NORMAL);
    m_small = listFont(12, FW_NORMAL);
    m_ownsFonts = true;
}

void FingerListView::setFonts(HFONT bold, HFONT normal, HFONT small) {
    if (m_ownsFonts)
        for (HFONT font : {m_bold, m_normal, m_small})
            if (font != nullptr) DeleteObject(font);
    m_bold = bold;
    m_normal = normal;
    m_small = small;
    m_ownsFonts = false;
    m_shown.assign(m_items.size(), ShownText{});
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

void FingerListView::setItems(std::vector<ListItem> items) {
    if (m_window != nullptr) {
        for (UINT_PTR timer : {kHoldTimer, kInertiaTimer, kSettleTimer})
            KillTimer(m_window, timer);
        releaseCapture();
    }
    m_items = std::move(items);
    m_scroll = KineticScroll(
        m_scroll.rowHeight(),
        KineticScroll::Distances{scaleX(kFingerDragUnits), scaleX(kTapSlopUnits), scaleX(kDrawSlopUnits)});
    m_scroll.setCount(count());
    m_selected = -1;
    m_depths.assign(m_items.size(), 0);
    for (int i = 0; i < count(); ++i)
        m_depths[static_cast<size_t>(i)] = depthOf(i);
    m_shown.assign(m_items.size(), ShownText{});
    if (m_window == nullptr) return;
    resizeToRows();
    InvalidateRect(m_window, nullptr, FALSE);
}

int FingerListView::depthOf(int index) const {
    // Following the parents; a chain longer than the list is a loop, and such a row counts as
    // top-level.
    int depth = 0;
    for (int32_t parent = m_items[static_cast<size_t>(index)].parent; parent >= 0 && parent < count();
         parent = m_items[static_cast<size_t>(parent)].parent) {
        if (++depth > count()) return 0;
    }
    return depth;
}

void FingerListView::resizeToRows() {
    int rows = m_fitToCount ? std::min(count(), kVisibleRows) : kVisibleRows;
    SetWindowPos(m_window, nullptr, 0, 0, rowWidth(), rows * rowHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int FingerListView::rowWidth() const {
    RECT client{};
    if (m_window != nullptr) GetClientRect(m_window, &client);
    return client.right;
}

const ListItem* FingerListView::selectedItem() const {
    return m_selected >= 0 && m_selected < count() ? &m_items[static_cast<size_t>(m_selected)] : nullptr;
}

std::u16string FingerListView::shownText(int index) const {
    if (index < 0 || index >= count()) return {};
    return m_shown[static_cast<size_t>(index)].text;
}

void FingerListView::select(int index) {
    if (index < 0 || index >= count()) index = -1;
    if (index == m_selected) return;
    if (m_scroll.state() != KineticScroll::State::Idle) apply(m_scroll.snapTo(0));
    m_selected = index;
    if (index < 0)
        m_scroll.setTop(0);
    else if (index < topIndex() || index >= topIndex() + kVisibleRows)
        m_scroll.setTop(index - 2);
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

void FingerListView::setTopIndex(int top) {
    if (m_scroll.state() != KineticScroll::State::Idle) apply(m_scroll.snapTo(0));
    m_scroll.setTop(top);
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

void FingerListView::confirmSelection() {
    const ListItem* item = selectedItem();
    if (item != nullptr) notifyParent(WM_LIST_CONFIRMED, m_selected, reinterpret_cast<LPARAM>(item));
}

void FingerListView::page(int direction) {
    if (count() == 0) return;
    if (m_scroll.state() != KineticScroll::State::Idle) apply(m_scroll.snapTo(0));
    int top = topIndex();
    int selected = m_selected < 0 ? top : m_selected;
    int last = count() - 1;
    int step = direction < 0 ? -kPageRows : kPageRows;
    int newSelected = selected + step;
    int newTop = top + step;
    bool stopped = newTop < 0 || newTop > m_scroll.maxTop();
    newTop = std::clamp(newTop, 0, m_scroll.maxTop());
    // At an end the rows stop; the selection keeps its place on the screen until it reaches the
    // first or last row.
    bool reachedEnd = direction < 0 ? newSelected <= 0 : newSelected >= last;
    if (stopped && !reachedEnd) newSelected = newTop + (selected - top);
    m_selected = std::clamp(newSelected, 0, last);
    m_scroll.setTop(newTop);
    InvalidateRect(m_window, nullptr, FALSE);
}

bool FingerListView::handleKey(UINT key) {
    if (key == VK_RETURN) {
        confirmSelection();
        return true;
    }
    if (key != VK_UP && key != VK_DOWN) return false;
    if (m_scroll.state() != KineticScroll::State::Idle) apply(m_scroll.snapTo(0));
    if (key == VK_UP && m_selected > 0) {
        --m_selected;
        if (m_selected < topIndex()) m_scroll.setTop(m_selected);
    } else if (key == VK_DOWN && m_selected < count() - 1) {
        ++m_selected;
        if (m_selected >= topIndex() + kVisibleRows)
            m_scroll.setTop(std::max(0, m_selected - (kVisibleRows - 1)));
    } else {
        return true;
    }
    InvalidateRect(m_window, nullptr, FALSE);
    return true;
}

int FingerListView::rowAt(POINT point) const {
    RECT client{};
    GetClientRect(m_window, &client);
    if (!PtInRect(&client, point)) return -1;
    return topIndex() + point.y / rowHeight();
}

void FingerListView::drawScrolled(int extra) {
    if (m_window == nullptr || m_scroll.state() != KineticScroll::State::Idle) return;
    HDC hdc = GetDC(m_window);
    drawRows(hdc, scrollPosition() + extra);
    ReleaseDC(m_window, hdc);
}

void FingerListView::snapTo(int extra) {
    apply(m_scroll.snapTo(extra));
}

LRESULT FingerListView::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(window, &paint);
            if (hdc != nullptr) paintFull(hdc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
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
            if (wParam == kHoldTimer) apply(m_scroll.holdElapsed());
            if (wParam == kInertiaTimer) apply(m_scroll.inertiaTick());
            if (wParam == kSettleTimer) apply(m_scroll.settleTick());
            return 0;
        case WM_CAPTURECHANGED:
            // Losing the stylus to another window ends the press as if it had been let go still.
            if (reinterpret_cast<HWND>(lParam) != window) {
                m_previousCapture = nullptr;
                apply(m_scroll.cancel());
            }
            return 0;
        case WM_KEYDOWN:
            if (IsWindowVisible(window) && handleKey(static_cast<UINT>(wParam))) return 0;
            break;
        case WM_CHAR:
            notifyParent(WM_CHAR, wParam, lParam);
            return 0;
        case WM_SHOWWINDOW:
            if (wParam != 0) SetFocus(window);
            break;
        default:
            break;
    }
    return WindowObject::windowProc(window, message, wParam, lParam);
}

void FingerListView::stylusDown(POINT point) {
    RECT client{};
    GetClientRect(m_window, &client);
    if (!PtInRect(&client, point)) return;
    unsigned effects = m_scroll.press(point.x, point.y, GetTickCount());
    // The capture goes back to its holder when the press ends (a drop list keeps it while shown).
    HWND previous = SetCapture(m_window);
    if (previous != m_window) m_previousCapture = previous;
    apply(effects);
}

void FingerListView::stylusMove(POINT point) {
    if (GetCapture() != m_window) return;
    apply(m_scroll.move(point.y));
}

void FingerListView::stylusUp(POINT point) {
    if (GetCapture() != m_window) return;
    apply(m_scroll.release(point.x, point.y, GetTickCount()));
}

void FingerListView::apply(unsigned effects) {
    if (m_window == nullptr) return;
    if (effects & KineticScroll::kStopHoldTimer) KillTimer(m_window, kHoldTimer);
    if (effects & KineticScroll::kStopInertiaTimer) KillTimer(m_window, kInertiaTimer);
    if (effects & KineticScroll::kStopSettleTimer) KillTimer(m_window, kSettleTimer);
    if (effects & KineticScroll::kReleaseCapture) releaseCapture();
    if (effects & KineticScroll::kSnapped) redrawNow();
    if (effects & KineticScroll::kDrawAtOffset) {
        HDC hdc = GetDC(m_window);
        drawRows(hdc, m_scroll.position());
        ReleaseDC(m_window, hdc);
    }
    if (effects & KineticScroll::kNotifyOffset)
        notifyParent(WM_LIST_SCROLLED, static_cast<WPARAM>(static_cast<INT_PTR>(m_scroll.notifiedOffset())),
                     0);
    if (effects & KineticScroll::kStartHoldTimer)
        SetTimer(m_window, kHoldTimer, KineticScroll::kHoldMs, nullptr);
    if (effects & KineticScroll::kStartInertiaTimer)
        SetTimer(m_window, kInertiaTimer, KineticScroll::kTickMs, nullptr);
    if (effects & KineticScroll::kStartSettleTimer)
        SetTimer(m_window, kSettleTimer, KineticScroll::kTickMs, nullptr);
    if (effects & KineticScroll::kTap) tapAt(POINT{m_scroll.tapX(), m_scroll.tapY()});
}

void FingerListView::tapAt(POINT point) {
    int row = rowAt(point);
    if (row < 0 || row >= count()) {
        notifyParent(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        return;
    }
    select(row);
    confirmSelection();
}

void FingerListView::releaseCapture() {
    HWND previous = m_previousCapture;
    m_previousCapture = nullptr;
    if (GetCapture() != m_window) return;
    ReleaseCapture();
    if (previous != nullptr && IsWindow(previous) && IsWindowVisible(previous)) SetCapture(previous);
}

void FingerListView::redrawNow() {
    InvalidateRect(m_window, nullptr, FALSE);
    UpdateWindow(m_window);
}

void FingerListView::notifyParent(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND parent = m_window != nullptr ? GetParent(m_window) : nullptr;
    if (parent != nullptr) PostMessageW(parent, message, wParam, lParam);
}

void FingerListView::paintFull(HDC hdc) {
    measureRightTexts();
    // A repaint during a motion shows the rows where the motion has them.
    drawRows(hdc, m_scroll.position());
    notifyParent(WM_LIST_SCROLLED, static_cast<WPARAM>(static_cast<INT_PTR>(m_scroll.offset())), 0);
}

bool FingerListView::prepareCanvas(int width, int height) {
    if (m_canvas != nullptr && m_canvasSize.cx == width && m_canvasSize.cy == height) return true;
    if (m_canvas == nullptr) {
        m_canvas = CreateCompatibleDC(nullptr);
        if (m_canvas == nullptr) return false;
        m_canvasPrevious = nullptr;
    }
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) return false;
    HGDIOBJ previous = SelectObject(m_canvas, bitmap);
    if (m_canvasPrevious == nullptr) m_canvasPrevious = previous;
    if (m_canvasBitmap != nullptr) DeleteObject(m_canvasBitmap);
    m_canvasBitmap = bitmap;
    m_canvasSize = SIZE{width, height};
    return true;
}

void FingerListView::measureRightTexts() {
    HDC hdc = CreateCompatibleDC(nullptr);
    if (hdc == nullptr) return;
    HGDIOBJ previous = SelectObject(hdc, m_small);
    int widest = 0;
    for (const ListItem& item : m_items)
        if (!item.rightText.empty()) widest = std::max(widest, textWidth(hdc, item.rightText));
    SelectObject(hdc, previous);
    DeleteDC(hdc);
    if (widest != m_widestRight) m_shown.assign(m_items.size(), ShownText{});
    m_widestRight = widest;
}

void FingerListView::drawRows(HDC target, int position) {
    RECT client{};
    GetClientRect(m_window, &client);
    int width = client.right;
    int height = client.bottom;
    if (width <= 0 || height <= 0 || !prepareCanvas(width, height)) return;
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(m_canvas, &client, background);
    DeleteObject(background);
    int rowH = rowHeight();
    int first = floorDiv(position, rowH);
    for (int index = first, y = first * rowH - position; y < height; ++index, y += rowH)
        if (index >= 0 && index < count()) drawRow(m_canvas, index, RECT{0, y, width, y + rowH});
    BitBlt(target, 0, 0, width, height, m_canvas, 0, 0, SRCCOPY);
}

void FingerListView::drawRow(HDC hdc, int index, const RECT& row) {
    const ListItem& item = m_items[static_cast<size_t>(index)];
    bool selected = index == m_selected;
    if (selected) {
        DrawFocusRect(hdc, &row);
        RECT inside{row.left + 1, row.top + 1, row.right - 1, row.bottom - 1};
        FillRect(hdc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    SetBkColor(hdc, selected ? kSelectedBackground : kBackground);
    if (!item.rightText.empty()) {
        RECT right{row.left + 1, row.top + 1, row.right - 3, row.bottom - 1};
        HGDIOBJ previous = SelectObject(hdc, m_small);
        SetTextColor(hdc, item.rightColor);
        DrawTextW(hdc, item.rightText.c_str(), static_cast<int>(item.rightText.size()), &right,
                  DT_RIGHT | kTextFormat);
        SelectObject(hdc, previous);
    }
    int depth = m_depths[static_cast<size_t>(index)];
    int textRight = row.right - (m_widestRight + kRightTextGap);
    if (textRight - row.left < 0) textRight = row.right;
    RECT main{row.left + kTextLeft + kIndentPerLevel * depth, row.top, textRight, row.bottom};
    HGDIOBJ previous = SelectObject(hdc, depth == 0 ? m_bold : m_normal);
    const std::u16string& shown = fitted(hdc, index, main.right - main.left);
    SetTextColor(hdc, kTextColor);
    DrawTextW(hdc, shown.c_str(), static_cast<int>(shown.size()), &main, DT_LEFT | kTextFormat);
    SelectObject(hdc, previous);
}

const std::u16string& FingerListView::fitted(HDC hdc, int index, int room) {
    ShownText& shown = m_shown[static_cast<size_t>(index)];
    if (shown.room == room) return shown.text;
    const std::u16string& text = m_items[static_cast<size_t>(index)].text;
    shown.room = room;
    shown.text = text;
    int length = static_cast<int>(text.size());
    if (length <= kEllipsisLength || textWidth(hdc, text) <= room) return shown.text;
    // The text keeps its first `kept` characters followed by "...": the most that fit, found from the
    // characters' running widths and confirmed by measuring the shortened text itself.
    std::vector<int> partial(static_cast<size_t>(length));
    SIZE size{};
    GetTextExtentExPointW(hdc, text.c_str(), length, 0, nullptr, partial.data(), &size);
    int dots = textWidth(hdc, kEllipsis);
    int kept = length - kEllipsisLength;
    while (kept > 0 && partial[static_cast<size_t>(kept - 1)] + dots > room)
        --kept;
    auto shortened = [&](int n) { return text.substr(0, static_cast<size_t>(n)) + kEllipsis; };
    while (kept > 0 && textWidth(hdc, shortened(kept)) > room)
        --kept;
    while (kept < length - kEllipsisLength && textWidth(hdc, shortened(kept + 1)) <= room)
        ++kept;
    shown.text = shortened(kept);
    return shown.text;
}
