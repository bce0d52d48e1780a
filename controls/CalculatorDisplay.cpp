// CalculatorDisplay: the display's labels, fonts and places, in 96-dpi units converted to pixels.

#include "CalculatorDisplay.h"

#include "ScreenMetrics.h"

// The calculator's windows carry no arithmetic of their own: no binary floating point here either.
#pragma GCC poison float double

namespace {

constexpr UINT kCaptionId = 1;
constexpr UINT kAmountId = 2;
constexpr WCHAR kFontFace[] = u"Times new roman";

HFONT createFont(int height, int weight) {
    return CreateFontW(scaleY(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                       kFontFace);
}

RECT scaled(int left, int top, int right, int bottom) {
    return RECT{scaleX(left), scaleY(top), scaleX(right), scaleY(bottom)};
}

}  // namespace

CalculatorDisplay::~CalculatorDisplay() {
    m_caption.destroy();
    m_amount.destroy();
    if (m_captionFont != nullptr) DeleteObject(m_captionFont);
    if (m_amountFont != nullptr) DeleteObject(m_amountFont);
}

bool CalculatorDisplay::create(HWND parent, const RECT& rect, CalculatorCurrencyField* currencyField) {
    setBackgroundColor(kBackground);
    if (!ControlBase::create(parent, rect, u"CalculatorDisplay")) return false;
    if (m_captionFont == nullptr) m_captionFont = createFont(13, FW_NORMAL);
    if (m_amountFont == nullptr) m_amountFont = createFont(20, FW_BOLD);
    if (m_captionFont == nullptr || m_amountFont == nullptr) return false;

    if (!m_caption.create(m_window, scaled(3, 0, 3 + 50, 16), u"Amount", kCaptionId)) return false;
    m_caption.setBackgroundColor(kBackground);
    m_caption.setFont(m_captionFont);
    m_caption.setTextColor(kCaptionColor);

    // The label's first text is replaced by the display text at the calculator's first reset.
    if (!m_amount.create(m_window, scaled(5, 19, 5 + 176, 19 + 18), u"-250,50", kAmountId)) return false;
    m_amount.setBackgroundColor(kBackground);
    m_amount.setFont(m_amountFont);
    m_amount.setTextColor(kAmountColor);
    m_amount.setAlignment(kAlignRight);

    if (currencyField == nullptr) return true;
    return currencyField->create(m_window, POINT{scaleX(184), scaleY(21)}, kBackground);
}

void CalculatorDisplay::setAmountText(const WCHAR* text) {
    m_amount.setText(text, true);
}
