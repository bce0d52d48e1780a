// CalculatorDisplay: the calculator's display strip: the caption "Amount", the amount in large red
// digits, right-aligned, and at the right end the currency field, when the owner gives one.
#pragma once

#include "CalculatorCurrencyField.h"
#include "ControlBase.h"
#include "TextLabel.h"

class CalculatorDisplay : public ControlBase {
  public:
    static constexpr COLORREF kBackground = RGB(202, 213, 236);
    static constexpr COLORREF kCaptionColor = RGB(101, 129, 183);
    static constexpr COLORREF kAmountColor = RGB(204, 51, 51);

    CalculatorDisplay() = default;
    // Destroys the labels, then deletes the fonts.
    ~CalculatorDisplay() override;

    // Creates the window "CalculatorDisplay" at rect in parent with the caption, the amount label and,
    // when currencyField is given, the currency field at (184, 21) units. False when a window or font
    // cannot be created.
    bool create(HWND parent, const RECT& rect, CalculatorCurrencyField* currencyField);

    // Shows text in the amount label and repaints it at once.
    void setAmountText(const WCHAR* text);
    const TextLabel& amountLabel() const { return m_amount; }
    const TextLabel& caption() const { return m_caption; }

  private:
    TextLabel m_caption;
    TextLabel m_amount;
    HFONT m_captionFont = nullptr;
    HFONT m_amountFont = nullptr;
};
