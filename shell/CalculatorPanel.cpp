// The calculator as a panel: loaded from the draft, shown with the focus, keypad keys typed into it,
// its amount and currency taken into the draft.
#include "CalculatorPanel.h"

#include "ControlMessages.h"
#include "CurrencyCache.h"

namespace shell {

bool CalculatorPanel::create(HWND parent, int x, int y, HINSTANCE resources, std::function<void()> feedback) {
    m_calculator.setKeyFeedback(std::move(feedback));
    m_currency.setResources(resources);
    m_calculator.setCurrencyField(&m_currency);
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

void CalculatorPanel::loadFrom(const EntryDraft& draft) {
    m_calculator.setAmount(draft.amount());
    m_currency.showCurrency(dove::currencyCache().idOfCode(draft.amountCurrencyCode()));
}

bool CalculatorPanel::takeInto(EntryDraft& draft) {
    draft.setAmount(m_calculator.getAmount());
    // Only a currency the user picked becomes the amount's own; otherwise it keeps following the account.
    draft.setCurrency(m_currency.pickedCurrency());
    return true;
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
