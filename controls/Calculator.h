// Calculator: the amount entry of the entry form: a black frame ("Calculator") holding the display
// strip and the nine-key keyboard, and the calculator's state. Digits arrive as characters (device
// keys, the input panel, the on-screen keypad through the form); results show with two decimals and
// the form reads the amount in hundredths.
#pragma once

#include <cstdint>
#include <functional>

#include "CalculatorCurrencyField.h"
#include "CalculatorDisplay.h"
#include "CalculatorEngine.h"
#include "CalculatorKeyboard.h"
#include "CalculatorMessages.h"
#include "ControlBase.h"

class Calculator : public ControlBase {
  public:
    static constexpr COLORREF kFrameColor = RGB(0, 0, 0);
    // The frame's size in 96-dpi units.
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 159;

    // The currency field the display shows at its right end (owned by the caller, who fills it and
    // reads its choice, and keeps it alive while the calculator exists); null for none. Only before
    // create().
    void setCurrencyField(CalculatorCurrencyField* field) { m_currencyField = field; }
    CalculatorCurrencyField* currencyField() const { return m_currencyField; }
    // Called on every click of a calculator key, before the key acts (the shell's vibration pulse).
    void setKeyFeedback(std::function<void()> feedback);

    // Creates the frame at (x, y) pixels of parent, then the display and the keyboard with its key
    // images from resources (null: the program's resource module), resets and shows everything.
    // False when any window or image cannot be created.
    bool create(HWND parent, int x, int y, HINSTANCE resources = nullptr);
    // The new-calculation state with display "0"; the display is repainted.
    void reset();
    // Resets and shows amount (hundredths) with two decimals ("0" for zero).
    void setAmount(int64_t amount);
    // The amount the display shows, in hundredths, truncated after two decimals; 0 for "Error" or
    // an amount past the signed 64-bit range. A pending operation is not applied.
    int64_t getAmount() const { return m_engine.amount(); }

    const CalculatorEngine& engine() const { return m_engine; }
    CalculatorDisplay& display() { return m_display; }
    CalculatorKeyboard& keyboard() { return m_keyboard; }

    // WM_CHAR and WM_CALCULATOR_CHAR type a character; WM_CALCULATOR_CHANGE_SIGN and
    // WM_CALCULATOR_CLEAR act as their keys. While the calculator is visible, VK_UP and VK_DOWN open
    // the currency field's drop list and VK_RETURN is posted on to the parent.
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void showDisplay();
    bool onKeyDown(WPARAM key);

    CalculatorEngine m_engine;
    CalculatorDisplay m_display;
    CalculatorKeyboard m_keyboard;
    CalculatorCurrencyField* m_currencyField = nullptr;
};
