// The field panel's geometry, painting (field slices, labels, values with their smaller-font
// fall-backs, the toggle) and its stylus handling.
#include "FieldPanel.h"

#include "ScreenMetrics.h"
#include "ShellCommands.h"
#include "Str.h"

namespace shell {
namespace {

struct FieldPlace {
    int row;
    int part;  // 0 whole row, 1 left half, 2 right half
    UINT command;
    UINT label;  // string id
};
constexpr FieldPlace kFields[kFieldCount] = {
    {0, 0, kCmdPayee, kStringPayeeLabel},       {1, 1, kCmdDate, kStringDateLabel},
    {1, 2, kCmdAmount, kStringAmountLabel},     {2, 0, kCmdAccount, kStringAccountLabel},
    {3, 1, kCmdCategory, kStringCategoryLabel}, {3, 2, kCmdProject, kStringProjectLabel}};

constexpr int kTextInset = 4;  // units between a field's left edge and its texts

int textWidth(HDC hdc, HFONT font, const std::u16string& text) {
    HGDIOBJ previous = SelectObject(hdc, font);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(hdc, previous);
    return extent.cx;
}

// The value in white over a black copy one pixel lower.
void drawShadowed(HDC hdc, HFONT font, const std::u16string& text, RECT box, UINT format) {
    HGDIOBJ previous = SelectObject(hdc, font);
    RECT shadow = box;
    OffsetRect(&shadow, 0, 1);
    SetTextColor(hdc, RGB(0, 0, 0));
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
    SetTextColor(hdc, RGB(255, 255, 255));
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &box, format);
    SelectObject(hdc, previous);
}

HBITMAP loadSkin(HINSTANCE resources, UINT normal, UINT high) {
    return LoadBitmapW(resources, MAKEINTRESOURCEW(screenMetrics().highResolution ? high : normal));
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

FieldPanel::~FieldPanel() {
    destroy();
    for (HBITMAP bitmap : {m_field, m_toggleOff, m_toggleOn})
        if (bitmap != nullptr) DeleteObject(bitmap);
}

bool FieldPanel::create(HWND parent, HINSTANCE resources, const EntryDraft& draft) {
    m_draft = &draft;
    for (int i = 0; i < kFieldCount; ++i) {
        Str label;
        label.load(kFields[i].label, resources);
        m_labels[static_cast<size_t>(i)] = label.c_str();
    }
    m_field = loadSkin(resources, kBitmapField, kBitmapFieldHigh);
    m_toggleOff = loadSkin(resources, kBitmapToggleOff, kBitmapToggleOffHigh);
    m_toggleOn = loadSkin(resources, kBitmapToggleOn, kBitmapToggleOnHigh);
    SIZE field = bitmapSize(m_field);
    m_toggleSize = bitmapSize(m_toggleOff);
    if (field.cy == 0 || m_toggleSize.cy == 0 || m_toggleOn == nullptr) return false;
    m_rowHeight = field.cy;
    m_size = SIZE{field.cx, kFieldRows * field.cy + (kFieldRows - 1) * scaleY(1)};
    RECT rect{0, 0, m_size.cx, m_size.cy};
    return WindowObject::create(0, u"FieldPanel", WS_CHILD, rect, parent, 0) != nullptr;
}

UINT FieldPanel::fieldCommand(int index) {
    return index >= 0 && index < kFieldCount ? kFields[index].command : 0;
}

RECT FieldPanel::fieldRect(int index) const {
    const FieldPlace& place = kFields[index];
    int top = place.row * (m_rowHeight + scaleY(1));
    int half = m_size.cx / 2;
    int left = place.part == 2 ? half : 0;
    int right = place.part == 1 ? half : m_size.cx;
    return RECT{left, top, right, top + m_rowHeight};
}

RECT FieldPanel::toggleRect() const {
    return RECT{m_size.cx - m_toggleSize.cx, 0, m_size.cx, m_toggleSize.cy};
}

std::u16string FieldPanel::draftValue(int index) const {
    switch (kFields[index].command) {
        case kCmdPayee:
            return m_draft->payeeText();
        case kCmdDate:
            return m_draft->dateText();
        case kCmdAmount:
            return m_draft->amountText();
        case kCmdAccount:
            return m_draft->accountText();
        case kCmdCategory:
            return m_draft->categoryText();
        default:
            return m_draft->projectText();
    }
}

void FieldPanel::showDraft() {
    for (int i = 0; i < kFieldCount; ++i)
        m_values[static_cast<size_t>(i)] = draftValue(i);
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

void FieldPanel::setShown(bool shown) {
    if (m_window != nullptr) ShowWindow(m_window, shown ? SW_SHOW : SW_HIDE);
}

void FieldPanel::paintField(HDC hdc, HDC source, int index) {
    RECT rect = fieldRect(index);
    int width = rect.right - rect.left;
    if (index == heldItem() && heldLooksPressed()) {
        HBRUSH brush = CreateSolidBrush(kFieldPressedColour);
        FillRect(hdc, &rect, brush);
        DeleteObject(brush);
    } else {
        HGDIOBJ previous = SelectObject(source, m_field);
        BitBlt(hdc, rect.left, rect.top, width, m_rowHeight, source, rect.left, 0, SRCCOPY);
        SelectObject(source, previous);
    }
    RECT label{rect.left + scaleX(kTextInset), rect.top + scaleY(1), rect.right - scaleX(kTextInset),
               rect.bottom};
    HGDIOBJ font = SelectObject(hdc, sharedFont(1));
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    SetTextColor(hdc, kFieldLabelColour);
    const std::u16string& caption = m_labels[static_cast<size_t>(index)];
    DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &label,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, font);
    RECT value{label.left, label.top + metrics.tmHeight, label.right, rect.bottom - scaleY(1)};
    const std::u16string& text = m_values[static_cast<size_t>(index)];
    int room = value.right - value.left;
    const UINT line = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (textWidth(hdc, sharedFont(2), text) <= room)
        drawShadowed(hdc, sharedFont(2), text, value, line);
    else if (textWidth(hdc, sharedFont(4), text) <= room)
        drawShadowed(hdc, sharedFont(4), text, value, line);
    else
        drawShadowed(hdc, sharedFont(5), text, value, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

void FieldPanel::paint(HDC hdc) {
    RECT client{};
    GetClientRect(m_window, &client);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));  // the separator lines
    HDC source = CreateCompatibleDC(hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < kFieldCount; ++i)
        paintField(hdc, source, i);
    RECT toggle = toggleRect();
    HGDIOBJ previous = SelectObject(source, m_draft->cleared() ? m_toggleOn : m_toggleOff);
    BitBlt(hdc, toggle.left, toggle.top, m_toggleSize.cx, m_toggleSize.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

bool FieldPanel::takeStylusDown(POINT point) {
    RECT toggle = toggleRect();
    if (!PtInRect(&toggle, point)) return false;
    // The toggle acts at once; its look follows the draft's cleared flag, which the command inverts.
    SendMessageW(GetParent(m_window), WM_COMMAND, MAKEWPARAM(kCmdCleared, 0),
                 reinterpret_cast<LPARAM>(m_window));
    InvalidateRect(m_window, &toggle, FALSE);
    return true;
}

}  // namespace shell
