// DateField: the field's messages (digits and backspace typed, arrow keys released, focus, stylus),
// its focus look and its drawing; MonthField's month names from the user locale.

#include "DateField.h"

#include "platform/winnls.h"

namespace {

constexpr WPARAM kBackspaceKey = 8;
constexpr int kMonths = 12;

}  // namespace

DateField::DateField(UINT fieldId, int minimum, int maximum, int digitWidth, int value)
    : m_fieldId(fieldId), m_state(minimum, maximum, digitWidth, value) {}

bool DateField::create(HWND parent, const RECT& rect, LPCWSTR windowName, HFONT font, COLORREF background) {
    m_font = font;
    m_normalBackground = background;
    m_savedBackground = background;
    setBackgroundColor(background);
    return ControlBase::create(parent, rect, windowName);
}

void DateField::setValue(int value) {
    m_state.setValue(value);
    changed();
}

void DateField::setMaximum(int maximum) {
    if (m_state.setMaximum(maximum)) changed();
}

void DateField::setMinimum(int minimum) {
    if (m_state.setMinimum(minimum)) changed();
}

int DateField::clampValue() {
    if (m_state.clamp()) changed();
    return m_state.value();
}

void DateField::increment() {
    if (m_window != nullptr) SetFocus(m_window);
    m_state.increment();
    changed();
}

void DateField::decrement() {
    if (m_window != nullptr) SetFocus(m_window);
    m_state.decrement();
    changed();
}

void DateField::setNormalBackground(COLORREF color) {
    m_normalBackground = color;
    if (hasFocus())
        m_savedBackground = color;
    else
        setBackgroundColor(color);
}

void DateField::changed() {
    repaint(false);
    notifyParent(WM_DATEFIELD_CHANGED, m_fieldId);
}

std::u16string DateField::displayText() {
    std::u16string digits;
    int value = m_state.value();
    if (value < 0) value = 0;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (digits.size() < static_cast<size_t>(m_state.digitWidth()))
        digits.insert(0, static_cast<size_t>(m_state.digitWidth()) - digits.size(), u'0');
    return digits;
}

void DateField::draw(HDC hdc) {
    RECT client;
    GetClientRect(m_window, &client);
    FillRect(hdc, &client, backgroundBrush());
    std::u16string text = displayText();
    HGDIOBJ previousFont = m_font != nullptr ? SelectObject(hdc, m_font) : nullptr;
    COLORREF previousText = SetTextColor(hdc, m_textColor);
    int previousMode = SetBkMode(hdc, TRANSPARENT);
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &client,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(hdc, previousMode);
    SetTextColor(hdc, previousText);
    if (previousFont != nullptr) SelectObject(hdc, previousFont);
}

LRESULT DateField::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            onKeyDown(wParam);
            return 0;
        case WM_KEYUP:
            onKeyUp(wParam);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            onFocus(message == WM_SETFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        default:
            return ControlBase::windowProc(window, message, wParam, lParam);
    }
}

void DateField::onKeyDown(WPARAM key) {
    bool taken = false;
    if (key >= '0' && key <= '9')
        taken = m_state.typeDigit(static_cast<int>(key - '0'));
    else if (key == kBackspaceKey)
        taken = m_state.backspace();
    if (taken) changed();
}

void DateField::onKeyUp(WPARAM key) {
    switch (key) {
        case VK_UP:
            notifyParent(WM_DATEFIELD_UP, m_fieldId);
            break;
        case VK_DOWN:
            notifyParent(WM_DATEFIELD_DOWN, m_fieldId);
            break;
        case VK_LEFT:
            notifyParent(WM_DATEFIELD_LEFT, m_fieldId);
            break;
        case VK_RIGHT:
            notifyParent(WM_DATEFIELD_RIGHT, m_fieldId);
            break;
        default:
            break;
    }
}

void DateField::onFocus(bool gained) {
    if (gained) {
        m_state.startEntry();
        m_savedBackground = m_normalBackground;
        m_textColor = kFocusText;
        setBackgroundColor(kFocusBackground);
    } else {
        // A value typed out of range (a year of 20) is brought into the limits when the field is
        // left; the picker hears of it so that the day's limit follows the year actually held.
        if (m_state.clamp()) notifyParent(WM_DATEFIELD_CHANGED, m_fieldId);
        m_state.startEntry();
        m_textColor = kNormalText;
        setBackgroundColor(m_savedBackground);
    }
    repaint(false);
}

MonthField::MonthField(int value) : DateField(kMonthField, 1, kMonths, 2, value) {}

std::u16string MonthField::displayText() {
    int month = state().value();
    if (month >= 1 && month <= kMonths) m_lastDrawnMonth = month;
    // Any valid date of the month names it; the first day always exists.
    SYSTEMTIME date{};
    date.wYear = 2000;
    date.wMonth = static_cast<WORD>(m_lastDrawnMonth);
    date.wDay = 1;
    WCHAR name[32] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, u"MMM", name, 32) <= 0) return DateField::displayText();
    return name;
}
