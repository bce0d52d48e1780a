// The date picker as a panel: shown with the focus, keypad keys typed into its fields.
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
