// The date picker as a panel: loaded from the draft, shown with the focus, keypad keys typed into its
// fields, its date taken into the draft.
#include "DatePickerPanel.h"

#include "ControlMessages.h"

namespace shell {

bool DatePickerPanel::create(HWND parent, const RECT& rect, HINSTANCE resources) {
    if (!m_picker.create(parent, rect, resources)) return false;
    ShowWindow(m_picker.window(), SW_HIDE);
    return true;
}

void DatePickerPanel::setShown(bool shown) {
    HWND window = m_picker.window();
    if (window == nullptr) return;
    ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
    if (shown) SetFocus(window);
}

namespace {

// The draft's dates are file times of local wall-clock time, as the picker's are.
FILETIME fileTimeOf(dove::Date date) {
    return FILETIME{static_cast<DWORD>(date & 0xFFFFFFFFu), static_cast<DWORD>(date >> 32)};
}

dove::Date dateOf(const FILETIME& time) {
    return (static_cast<dove::Date>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void DatePickerPanel::loadFrom(const EntryDraft& draft) {
    if (m_picker.window() != nullptr) m_picker.setDate(fileTimeOf(draft.effectiveDate()));
}

bool DatePickerPanel::takeInto(EntryDraft& draft) {
    if (m_picker.window() == nullptr) return false;
    draft.setDate(dateOf(m_picker.getDate()));
    return true;
}

void DatePickerPanel::keypadKey(WPARAM code) {
    if (code <= 9)
        typedCharacter(static_cast<WCHAR>(u'0' + code));
    else if (code == kKeypadBackspace)
        typedCharacter(u'\b');
}

void DatePickerPanel::typedCharacter(WCHAR character) {
    if (m_picker.window() != nullptr) SendMessageW(m_picker.window(), WM_CHAR, character, 0);
}

}  // namespace shell
