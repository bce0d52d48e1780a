// The calculator as a panel: shown with the focus, keypad keys typed into it.
#include "CalculatorPanel.h"

#include "ControlMessages.h"

namespace shell {

bool CalculatorPanel::create(HWND parent, int x, int y, HINSTANCE resources, std::function<void()> feedback) {
    m_calculator.setKeyFeedback(std::move(feedback));
    if (!m_calculator.create(parent, x, y, resources)) return false;
    ShowWindow(m_calculator.window(), SW_HIDE);
    return true;
}

void CalculatorPanel::setShown(bool shown) {
    HWND window = m_calculator.window();
    if (window == nullptr) return;
    ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
    if (shown) SetFocus(window);
}

void CalculatorPanel::keypadKey(WPARAM code) {
    if (code <= 9)
        typedCharacter(static_cast<WCHAR>(u'0' + code));
    else if (code == kKeypadBackspace)
        typedCharacter(u'\b');
    else if (code == kKeypadDecimalPoint)
        typedCharacter(u'.');
}

void CalculatorPanel::typedCharacter(WCHAR character) {
    if (m_calculator.window() != nullptr)
        SendMessageW(m_calculator.window(), WM_CALCULATOR_CHAR, character, 0);
}

}  // namespace shell
