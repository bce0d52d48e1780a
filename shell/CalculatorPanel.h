// CalculatorPanel: the calculator shown in the entry form's place (entry mode 6), with the confirm
// strip; the keypad's digits, backspace and decimal point type into it.
#pragma once

#include <functional>

#include "Calculator.h"
#include "Panel.h"

namespace shell {

class CalculatorPanel : public Panel {
  public:
    // Creates the calculator hidden at (x, y) in parent, its key images from resources; each of its
    // key clicks calls feedback first. False when it cannot be created.
    bool create(HWND parent, int x, int y, HINSTANCE resources, std::function<void()> feedback);

    Calculator& calculator() { return m_calculator; }

    HWND window() const override { return m_calculator.window(); }
    Strip strip() const override { return kStripConfirm; }
    // Shown, the calculator takes the focus, so that device keys type into it.
    void setShown(bool shown) override;
    // Digits 0-9, backspace (10) and the decimal point (12) are typed into the calculator.
    void keypadKey(WPARAM code) override;
    void typedCharacter(WCHAR character) override;

  private:
    Calculator m_calculator;
};

}  // namespace shell
