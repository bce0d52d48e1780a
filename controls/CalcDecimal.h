// CalcDecimal: the calculator's signed fixed-point decimal, 30 significant digits of which 12 lie
// after the point, kept as a sign and a DigitString magnitude (the value times 10^12). The error
// state is the magnitude's error flag: it sticks until the value is assigned from text again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "DigitString.h"

class CalcDecimal {
  public:
    static constexpr uint32_t kDigitLimit = 30;
    static constexpr uint8_t kScale = 12;

    // Zero.
    CalcDecimal();

    bool isError() const { return m_magnitude.isError(); }
    bool isNegative() const { return m_negative; }
    bool isZero() const { return m_magnitude.isZero(); }
    // The value times 10^12, without its sign.
    const DigitString& magnitude() const { return m_magnitude; }

    // The magnitude becomes zero and the error flag is cleared; the sign flag stays as it is.
    void setZero();
    void setNegative(bool negative);
    void invertSign() { setNegative(!m_negative); }

    // Reads text such as "-12.5" or ".5": a leading "-" makes the value negative, the part before
    // "." is the integer part (empty counts as 0), the first 12 characters after it the fraction
    // (padded with "0"). The error flag is cleared first and set again when the integer part has
    // more than 18 significant digits. False, and the value unchanged, when either part holds a
    // character that is not a digit (so "Error" is never read).
    bool setText(std::u16string_view text);

    // The value as text with decimals digits after the point (0 to 12), rounded half away from zero
    // at the last one: "-" for a negative value, the integer part ("0" when it is zero), then "." and
    // the decimals. "Error" for a value in error, or when rounding would carry it past 30 digits.
    // The text is kept in the value until the value changes.
    const std::u16string& text(int decimals) const;

    // Arithmetic in place, each exact to the 12th decimal. An operand in error puts this value in
    // error; a value in error stays so. A result that needs more than 30 digits sets the error flag.
    // A zero result is never negative.
    void add(const CalcDecimal& other);
    void subtract(const CalcDecimal& other);
    // The product is truncated after the 12th decimal.
    void multiply(const CalcDecimal& other);
    // The quotient is rounded half up at the 12th decimal; a zero divisor sets the error flag.
    void divide(const CalcDecimal& divisor);

  private:
    // this = sign * (|this| + |other|) when add is set, otherwise sign * (|this| - |other|), where
    // the difference takes the other sign when |other| is the larger.
    void combineMagnitudes(const DigitString& other, bool add, bool sign);
    // Takes a working value as the magnitude, or sets the error flag when it is in error or wider
    // than 30 digits.
    void takeResult(const DigitString& result);
    void finishArithmetic();
    void changed() { m_text.clear(); }

    bool m_negative = false;
    DigitString m_magnitude;
    mutable std::u16string m_text;
    mutable int m_textDecimals = -1;
};
