// The field panel's geometry, painting (field slices, labels, values with their smaller-font
// fall-backs, the toggle), its stylus handling and the amount typed on it.
#include "FieldPanel.h"

#include <iterator>

#include "ControlMessages.h"
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

constexpr int kTextInset = 4;  // units between a field's edges and its texts

// The keypad's keys as the characters amount typing reads.
constexpr char16_t kKeypadCharacters[] = {u'0', u'1', u'2', u'3',  u'4',  u'5', u'6',
                                          u'7', u'8', u'9', u'\b', u'\f', u'.'};

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

bool FieldPanel::create(HWND parent, HINSTANCE resources, EntryDraft& draft) {
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
    if (m_window == nullptr) return;
    ShowWindow(m_window, shown ? SW_SHOW : SW_HIDE);
    if (shown) SetFocus(m_window);
}

void FieldPanel::keypadKey(WPARAM code) {
    if (code < std::size(kKeypadCharacters)) typedCharacter(kKeypadCharacters[code]);
}

void FieldPanel::typedCharacter(WCHAR character) {
    if (!m_draft->typeAmount(character)) return;
    m_values[2] = m_draft->amountText();
    if (m_window != nullptr) InvalidateRect(m_window, nullptr, FALSE);
}

LRESULT FieldPanel::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) return SendMessageW(GetParent(window), message, wParam, lParam);
    return PressableItems::windowProc(window, message, wParam, lParam);
}

RECT FieldPanel::valueBox(HDC hdc, int index) const {
    RECT field = fieldRect(index);
    HGDIOBJ previous = SelectObject(hdc, sharedFont(1));
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, previous);
    RECT box{field.left + scaleX(kTextInset), field.top + scaleY(1) + metrics.tmHeight,
             field.right - scaleX(kTextInset), field.bottom - scaleY(1)};
    RECT toggle = toggleRect();
    // A long payee name stops short of the toggle in the row's top-right corner.
    if (box.top < toggle.bottom && box.right > toggle.left) box.right = toggle.left - scaleX(kTextInset);
    return box;
}

FieldTextLayout FieldPanel::valueLayout(HDC hdc, int index) const {
    return layoutFieldText(hdc, m_values[static_cast<size_t>(index)], valueBox(hdc, index), fieldRect(index));
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
    SetTextColor(hdc, kFieldLabelColour);
    const std::u16string& caption = m_labels[static_cast<size_t>(index)];
    DrawTextW(hdc, caption.c_str(), static_cast<int>(caption.size()), &label,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, font);
    FieldTextLayout value = valueLayout(hdc, index);
    for (const FieldLine& line : value.lines)
        drawShadowed(hdc, sharedFont(value.font), line.text, line.rect,
                     DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
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
