// The pop-up text window: its layout, windows, stylus, keys and message loop.
#include "TextPopup.h"

#include <algorithm>

#include "PopupText.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr int kPoints = 9;
constexpr int kWorkMargin = 20;   // the pop-up keeps this far from the work area's edges
constexpr int kTextMarginX = 4;   // units, both sides of the text
constexpr int kTextMarginY = 4;   // units, above and below the text
constexpr int kButtonGap = 5;     // units between the buttons and at the row's ends
constexpr int kButtonPad = 5;     // units above and below the buttons
constexpr int kScrollGap = 5;     // units between the text and its scroll bar
constexpr int kCaptionPadX = 10;  // units left and right of a caption
constexpr int kCaptionPadY = 4;   // units above and below a caption
constexpr int kMinButtonHeight = 24;
constexpr COLORREF kFrame = RGB(64, 64, 64);
constexpr COLORREF kButtonFace = RGB(236, 236, 236);
constexpr COLORREF kButtonPressed = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

bool inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT workArea() {
    SIPINFO info{};
    info.cbSize = sizeof info;
    if (SHSipInfo(SPI_GETSIPINFO, 0, &info, 0))
        return popupWorkArea(info.rcVisibleDesktop, (info.fdwFlags & SIPF_ON) != 0);
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

TextPopup::TextPopup(HWND parent, const std::u16string& markup, POINT anchor,
                     const std::vector<std::u16string>& captions, int maxWidth)
    : m_parent(parent),
      m_markup(markup),
      m_anchor(anchor),
      m_captions(captions.begin(), captions.begin() + std::min<size_t>(captions.size(), kMaxPopupButtons)),
      m_maxWidth(maxWidth),
      m_scale(ScreenScale::current()),
      m_font(createTahoma(m_scale, kPoints, false)),
      m_fonts(std::make_unique<MarkupFonts>(m_font)),
      m_block(parseMarkup(markup)) {}

TextPopup::~TextPopup() {
    m_text.reset();
    destroy();
    m_fonts.reset();
    if (m_font != nullptr) DeleteObject(m_font);
}

TextPopup* TextPopup::fromWindow(HWND window) {
    WCHAR name[32] = {};
    if (window == nullptr || GetClassNameW(window, name, 32) == 0 || std::u16string(name) != kPopupClass)
        return nullptr;
    auto* object = reinterpret_cast<WindowObject*>(GetWindowLongPtrW(window, GWL_USERDATA));
    return static_cast<TextPopup*>(object);
}

int TextPopup::firstLine() const {
    return m_text ? m_text->firstLine() : 0;
}

RECT TextPopup::buttonRect(int index) const {
    const int count = buttonCount();
    if (index < 0 || index >= count) return RECT{};
    const int gap = m_scale.scaleX(kButtonGap);
    const int width = m_frame.right - m_frame.left, height = m_frame.bottom - m_frame.top;
    const int row = count * m_row.buttonWidth + (count - 1) * gap;
    const int left = (width - row) / 2 + index * (m_row.buttonWidth + gap);
    const int top = height - m_row.height + m_scale.scaleY(kButtonPad);
    return RECT{left, top, left + m_row.buttonWidth, top + m_row.buttonHeight};
}

// The window's size and place, its text view's and the scrolling, from the work area, the captions
// and the text measured with word break.
void TextPopup::computeLayout() {
    const RECT work = workArea();
    const int maxWidth = m_maxWidth > 0 ? m_maxWidth : work.right - work.left - kWorkMargin;
    const int maxHeight = work.bottom - work.top - kWorkMargin;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m_font);
    std::vector<SIZE> buttons;
    for (const std::u16string& caption : m_captions) {
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        buttons.push_back(
            {size.cx + 2 * m_scale.scaleX(kCaptionPadX),
             std::max(size.cy + 2 * m_scale.scaleY(kCaptionPadY), m_scale.scaleY(kMinButtonHeight))});
    }
    SelectObject(dc, old);
    m_row = layoutButtonRow(buttons, maxWidth, m_scale.scaleX(kButtonGap), m_scale.scaleY(kButtonPad));
    const int marginX = m_scale.scaleX(kTextMarginX), marginY = m_scale.scaleY(kTextMarginY);
    const int scrollRoom = GetSystemMetrics(SM_CXVSCROLL) + m_scale.scaleX(kScrollGap);
    // The number of lines the text takes in width; rect receives the size it needs.
    auto measure = [&](int width, RECT& rect) {
        rect = RECT{0, 0, std::max(1, width), 0};
        const int height = m_block.layout(dc, *m_fonts, &rect, kLayoutWordBreak | kLayoutMeasure);
        return m_block.lineHeight() > 0 ? height / m_block.lineHeight() : 0;
    };
    RECT measured{};
    m_textWidth = maxWidth - 2 * marginX - scrollRoom;
    m_lines = measure(m_textWidth, measured);
    const int lineHeight = m_block.lineHeight();
    m_scroll = textScroll(m_lines, lineHeight, maxHeight - m_row.height - 2 * marginY);
    if (!m_scroll.scrolls) {
        m_textWidth = maxWidth - 2 * marginX;
        m_lines = measure(m_textWidth, measured);
    }
    ReleaseDC(nullptr, dc);
    const int shownLines = m_scroll.scrolls ? m_scroll.linesPerPage : m_lines;
    const int viewWidth =
        std::min(static_cast<int>(measured.right), m_textWidth) + (m_scroll.scrolls ? scrollRoom : 0);
    const SIZE size{std::max(viewWidth + 2 * marginX, m_row.width),
                    2 * marginY + shownLines * lineHeight + m_row.height};
    const POINT at = placePopup(m_anchor, size, work);
    m_frame = RECT{at.x, at.y, at.x + size.cx, at.y + size.cy};
    m_textRect = RECT{marginX, marginY, marginX + viewWidth, marginY + shownLines * lineHeight};
}

bool TextPopup::createWindows() {
    if (!registerClass(kPopupClass, 0, nullptr, nullptr)) return false;
    if (create(0, u"", WS_POPUP | WS_VISIBLE, m_frame, m_parent, 0) == nullptr) return false;
    m_text = std::make_unique<PopupText>(m_block, *m_fonts, m_textWidth);
    const DWORD scrollStyle = m_scroll.scrolls ? WS_VSCROLL : 0;
    if (m_text->create(0, kPopupTextName, WS_CHILD | WS_VISIBLE | scrollStyle, m_textRect, m_window, 0) ==
        nullptr)
        return false;
    if (m_scroll.scrolls) m_text->setLines(m_lines, m_scroll.linesPerPage);
    for (int i = 0; i < buttonCount(); ++i) {
        const RECT r = buttonRect(i);
        if (CreateWindowExW(0, WC_BUTTON, m_captions[static_cast<size_t>(i)].c_str(),
                            WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, m_window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPopupButtonId + i)),
                            GetModuleHandleW(nullptr), nullptr) == nullptr)
            return false;
    }
    return true;
}

int TextPopup::run() {
    computeLayout();
    if (!createWindows()) {
        destroy();
        return -1;
    }
    UpdateWindow(m_window);
    SetCapture(m_window);
    SetFocus(m_window);
    bool idleTold = false;
    while (!m_done && m_window != nullptr && IsWindow(m_window)) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // The owner hears that the pop-up waits, as it would of a dialog box.
            if (!idleTold && m_parent != nullptr && IsWindow(m_parent)) {
                idleTold = true;
                SendMessageW(m_parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_window));
                continue;
            }
            GetMessageW(&msg, nullptr, 0, 0);
        }
        idleTold = false;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_result = -1;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == m_window) ReleaseCapture();
    m_text.reset();
    destroy();
    return m_result;
}

void TextPopup::finish(int result) {
    m_result = result;
    m_done = true;
}

int TextPopup::buttonAt(POINT client) const {
    for (int i = 0; i < buttonCount(); ++i)
        if (inside(buttonRect(i), client)) return i;
    return -1;
}

void TextPopup::stylusDown(POINT client) {
    RECT all{0, 0, m_frame.right - m_frame.left, m_frame.bottom - m_frame.top};
    if (!inside(all, client)) {
        finish(-1);
        return;
    }
    m_pressed = buttonAt(client);
    if (m_pressed >= 0) {
        SendMessageW(GetDlgItem(m_window, kPopupButtonId + m_pressed), BM_SETSTATE, TRUE, 0);
        return;
    }
    if (!m_text || !inside(m_textRect, client)) return;
    RECT view{};
    GetClientRect(m_text->window(), &view);
    POINT screen = client;
    ClientToScreen(m_window, &screen);
    POINT inView = screen;
    ScreenToClient(m_text->window(), &inView);
    if (!inside(view, inView)) {
        // On the text view's scroll bar: the view tracks it and hands the stylus back at the end.
        m_barHeld = true;
        SendMessageW(m_text->window(), WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
        return;
    }
    m_dragging = m_scroll.scrolls;
    m_dragY = client.y;
}

// The stylus's moves and release that still come to the pop-up while the view tracks its bar (they
// were on their way before the press reached the view) belong to the bar.
bool TextPopup::forwardToBar(UINT message, POINT client) {
    if (!m_barHeld || !m_text) return false;
    POINT screen = client;
    ClientToScreen(m_window, &screen);
    if (message == WM_NCLBUTTONUP) m_barHeld = false;
    SendMessageW(m_text->window(), message, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
    return true;
}

void TextPopup::stylusMove(POINT client) {
    if (forwardToBar(WM_NCMOUSEMOVE, client)) return;
    if (!m_dragging || !m_text || m_block.lineHeight() <= 0) return;
    const int lines = (m_dragY - client.y) / m_block.lineHeight();
    if (lines == 0) return;
    m_text->scrollTo(m_text->firstLine() + lines);
    m_dragY -= lines * m_block.lineHeight();
}

void TextPopup::stylusUp(POINT client) {
    if (forwardToBar(WM_NCLBUTTONUP, client)) return;
    m_dragging = false;
    const int pressed = m_pressed;
    if (pressed < 0) return;
    m_pressed = -1;
    SendMessageW(GetDlgItem(m_window, kPopupButtonId + pressed), BM_SETSTATE, FALSE, 0);
    if (buttonAt(client) == pressed) finish(pressed);
}

void TextPopup::key(UINT virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
            finish(buttonCount() > 0 ? 0 : -1);
            break;
        case VK_ESCAPE:
        case VK_BACK:
            finish(-1);
            break;
        case VK_UP:
            if (m_text) m_text->scrollTo(m_text->firstLine() - 1);
            break;
        case VK_DOWN:
            if (m_text) m_text->scrollTo(m_text->firstLine() + 1);
            break;
        default:
            break;
    }
}

void TextPopup::drawButton(const DRAWITEMSTRUCT& item) const {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    HBRUSH face = CreateSolidBrush(pressed ? kButtonPressed : kButtonFace);
    HPEN frame = CreatePen(PS_SOLID, 1, kFrame);
    HGDIOBJ oldBrush = SelectObject(item.hDC, face);
    HGDIOBJ oldPen = SelectObject(item.hDC, frame);
    const int round = m_scale.scaleX(6);
    RoundRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom, round,
              round);
    SelectObject(item.hDC, oldBrush);
    SelectObject(item.hDC, oldPen);
    DeleteObject(face);
    DeleteObject(frame);
    const int index = static_cast<int>(item.CtlID) - kPopupButtonId;
    if (index < 0 || index >= buttonCount()) return;
    const std::u16string& caption = m_captions[static_cast<size_t>(index)];
    HGDIOBJ oldFont = SelectObject(item.hDC, m_font);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, pressed ? kWhite : kBlack);
    RECT text = item.rcItem;
    DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(item.hDC, oldFont);
}

void TextPopup::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    HBRUSH white = CreateSolidBrush(kWhite);
    FillRect(dc, &client, white);
    DeleteObject(white);
    HPEN frame = CreatePen(PS_SOLID, 1, kFrame);
    HGDIOBJ oldPen = SelectObject(dc, frame);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(frame);
    EndPaint(m_window, &ps);
}

LRESULT TextPopup::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_DRAWITEM:
            drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
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
        case WM_KEYDOWN:
            key(static_cast<UINT>(wParam));
            return 0;
        case kMsgPopupScrollEnded:
            m_barHeld = false;
            if (!m_done) SetCapture(m_window);
            return 0;
        case WM_DESTROY:
            m_done = true;
            return WindowObject::windowProc(window, message, wParam, lParam);
        default:
            return WindowObject::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace today
