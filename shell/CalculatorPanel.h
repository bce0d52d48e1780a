// CalculatorPanel: the calculator shown in the entry form's place (entry mode 6), with the confirm
// strip and the currency field in its display; the keypad's digits, backspace and decimal point type
// into it. It shows the draft's amount in the amount's currency and hands back the amount and a
// currency the user picked.
#pragma once

#include <functional>

#include "Calculator.h"
#include "CurrencyField.h"
#include "Panel.h"

namespace shell {

class CalculatorPanel : public Panel {
  public:
    // Creates the calculator hidden at (x, y) in parent, its key images and the currency field's images
    // from resources; each of its key clicks calls feedback first. False when it cannot be created.
    bool create(HWND parent, int x, int y, HINSTANCE resources, std::function<void()> feedback);

    Calculator& calculator() { return m_calculator; }
    CurrencyField& currencyField() { return m_currency; }

    HWND window() const override { return m_calculator.window(); }
    Strip strip() const override { return kStripConfirm; }
    // Shown, the calculator takes the focus, so that device keys type into it.
    void setShown(bool shown) override;
    // The draft's amount on the display (a new calculation) and the amount's currency in the field.
    void loadFrom(const EntryDraft& draft) override;
    // The displayed amount into the draft, and the currency when the user picked one. Always true.
    bool takeInto(EntryDraft& draft) override;
    // Digits 0-9, backspace (10) and the decimal point (12) are typed into the calculator.
    void keypadKey(WPARAM code) override;
    void typedCharacter(WCHAR character) override;
    // The currencies are read again from the store; the field keeps its currency.
    void discardRecords() override { m_currency.reload(); }

  private:
    CurrencyField m_currency;
    Calculator m_calculator;
};

}  // namespace shell
