// The edit control's view: measuring the line in the control's font, horizontal scrolling that keeps
// the caret visible, alignment (ES_CENTER, ES_RIGHT) of a text that fits, and painting with the
// parent's colours, the selection highlighted and the caret.

#include <algorithm>

#include "ControlSupport.h"
#include "EditControl.h"

namespace platform::user {

namespace {

constexpr int kMarginUnits = 2;
constexpr int kTopUnits = 1;
constexpr int kCaretUnits = 1;

std::u16string displayText(HWND window, const EditState& state, const std::u16string& text) {
    if (!(styleOf(window) & ES_PASSWORD) || !state.passwordChar) return text;
    return std::u16string(text.size(), state.passwordChar);
}

// A screen-compatible memory DC with the control's font selected.
class MeasureDC {
  public:
    explicit MeasureDC(const EditState& state) : m_dc(CreateCompatibleDC(nullptr)) {
        if (m_dc) m_old = SelectObject(m_dc, fontOrSystem(state.font));
    }
    ~MeasureDC() {
        if (!m_dc) return;
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    HDC get() const { return m_dc; }

  private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

std::vector<int> measure(HDC hdc, const std::u16string& text) {
    std::vector<int> offsets(text.size() + 1, 0);
    if (text.empty() || !hdc) return offsets;
    std::vector<int> partial(text.size(), 0);
    SIZE size{};
    GetTextExtentExPointW(hdc, text.c_str(), static_cast<int>(text.size()), 0, nullptr, partial.data(),
                          &size);
    std::copy(partial.begin(), partial.end(), offsets.begin() + 1);
    return offsets;
}

RECT formatRect(HWND window, const EditState& state) {
    RECT area;
    GetClientRect(window, &area);
    area.left += state.leftMargin >= 0 ? state.leftMargin : scaled(kMarginUnits);
    area.right -= state.rightMargin >= 0 ? state.rightMargin : scaled(kMarginUnits);
    area.top += scaled(kTopUnits);
    if (area.right < area.left) area.right = area.left;
    return area;
}

// Where position 0 lies when the text fits: by the alignment style.
int alignedOrigin(DWORD style, const RECT& area, int textWidth) {
    int room = area.right - area.left - textWidth;
    if ((style & ES_RIGHT) == ES_RIGHT) return area.left + room;
    if (style & ES_CENTER) return area.left + room / 2;
    return area.left;
}

}  // namespace

int EditLayout::positionAt(int clientX) const {
    int relative = clientX - origin;
    auto it = std::lower_bound(offsets.begin(), offsets.end(), relative);
    if (it == offsets.end()) return static_cast<int>(offsets.size()) - 1;
    int index = static_cast<int>(it - offsets.begin());
    if (index > 0 && relative - offsets[index - 1] < *it - relative) --index;
    return index;
}

EditLayout layoutEdit(HWND window, const EditState& state) {
    EditLayout layout;
    layout.area = formatRect(window, state);
    layout.shown = displayText(window, state, state.model.text());
    MeasureDC dc(state);
    TEXTMETRICW metrics{};
    if (dc.get()) GetTextMetricsW(dc.get(), &metrics);
    layout.lineHeight = metrics.tmHeight;
    layout.offsets = measure(dc.get(), layout.shown);
    if (layout.width() <= layout.area.right - layout.area.left && state.scrollX == 0)
        layout.origin = alignedOrigin(styleOf(window), layout.area, layout.width());
    else
        layout.origin = layout.area.left - state.scrollX;
    return layout;
}

int shownWidth(HWND window, const EditState& state, const std::u16string& text) {
    MeasureDC dc(state);
    return measure(dc.get(), displayText(window, state, text)).back();
}

int formatWidth(HWND window, const EditState& state) {
    RECT area = formatRect(window, state);
    return area.right - area.left;
}

bool scrollToCaret(HWND window, EditState& state) {
    int before = state.scrollX;
    EditState unscrolled = state;
    unscrolled.scrollX = 0;
    EditLayout layout = layoutEdit(window, unscrolled);
    int visible = layout.area.right - layout.area.left;
    int caretX = layout.offsets[static_cast<size_t>(state.model.caret())];
    int caretWidth = scaled(kCaretUnits);
    int scroll = std::min(state.scrollX, std::max(layout.width() + caretWidth - visible, 0));
    if (styleOf(window) & ES_AUTOHSCROLL) {
        if (caretX + caretWidth - scroll > visible) scroll = caretX + caretWidth - visible;
        if (caretX < scroll) scroll = std::max(caretX - visible / 4, 0);
    } else {
        scroll = 0;
    }
    state.scrollX = std::max(scroll, 0);
    return state.scrollX != before;
}

namespace {

void drawSelection(HDC hdc, const EditLayout& layout, int start, int end, int top) {
    RECT band{layout.x(start), top, layout.x(end), top + layout.lineHeight};
    FillRect(hdc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    ExtTextOutW(hdc, band.left, top, ETO_CLIPPED, &band, layout.shown.c_str() + start,
                static_cast<UINT>(end - start), nullptr);
}

void drawCaret(HDC hdc, const EditLayout& layout, int caret, int top, COLORREF colour) {
    int width = scaled(kCaretUnits);
    int x = std::min(layout.x(caret), static_cast<int>(layout.area.right) - width);
    RECT bar{x, top, x + width, top + layout.lineHeight};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &bar, brush);
    DeleteObject(brush);
}

}  // namespace

void paintEdit(HWND window, EditState& state) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(window, &ps);
    if (!hdc) return;
    DWORD style = styleOf(window);
    bool greyed = (style & (ES_READONLY | WS_DISABLED)) != 0;
    RECT client;
    GetClientRect(window, &client);
    // Read-only and disabled edits take the static colours, as on the device.
    FillRect(hdc, &client, parentColours(window, hdc, greyed ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT));
    if (style & WS_DISABLED) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    COLORREF textColour = GetTextColor(hdc);
    HGDIOBJ oldFont = SelectObject(hdc, fontOrSystem(state.font));
    SetBkMode(hdc, TRANSPARENT);
    EditLayout layout = layoutEdit(window, state);
    IntersectClipRect(hdc, layout.area.left, client.top, layout.area.right, client.bottom);
    int top = layout.area.top;
    ExtTextOutW(hdc, layout.origin, top, 0, nullptr, layout.shown.c_str(),
                static_cast<UINT>(layout.shown.size()), nullptr);
    const EditText& model = state.model;
    if (model.hasSelection() && (state.focused || (style & ES_NOHIDESEL)))
        drawSelection(hdc, layout, model.selectionStart(), model.selectionEnd(), top);
    if (state.focused && state.caretShown) drawCaret(hdc, layout, model.caret(), top, textColour);
    SelectObject(hdc, oldFont);
    EndPaint(window, &ps);
}

}  // namespace platform::user
