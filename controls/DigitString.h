// DigitString: an unsigned decimal integer of bounded length, kept as one digit a cell, least
// significant first, for the calculator's exact arithmetic. An operation whose result does not fit
// or is undefined sets the error flag, and from then on every operation on the value does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class DigitString {
  public:
    // Zero, with room for capacity digits (at least one).
    explicit DigitString(uint32_t capacity);
    DigitString(const DigitString& other) = default;
    // Copies the value and the error flag. A target whose capacity is below the source's digit count
    // is enlarged to that count.
    DigitString& operator=(const DigitString& other);

    uint32_t capacity() const { return static_cast<uint32_t>(m_digits.size()); }
    // Digits in use; 0 means the value zero.
    uint32_t size() const { return m_count; }
    bool isZero() const { return m_count == 0; }
    bool isError() const { return m_error; }
    // Digit i, 0 the least significant; 0 for every i at or above size().
    uint16_t digit(uint32_t i) const { return i < m_count ? m_digits[i] : 0; }

    void setError() { m_error = true; }
    // The value zero with the error flag cleared.
    void clear();
    // Replaces the value (the error flag is cleared first) by the decimal digits of text, most
    // significant first; an empty text is zero. A text with more significant digits than the capacity
    // sets the error flag. False, and nothing changes, when text holds anything but digits.
    bool assign(std::u16string_view text);
    // Replaces the value by n (error flag cleared); sets the error flag when n has too many digits.
    void assign(uint64_t n);

    // Times 10^k. Sets the error flag when the digits would pass the capacity.
    void shiftLeft(uint32_t k);
    // Divided by 10^k, truncating; k not below size() gives zero.
    void shiftRight(uint32_t k);
    // Adds other; a carry beyond the capacity sets the error flag.
    void add(const DigitString& other);
    // Subtracts other, which must not be larger (the error flag is set otherwise).
    void subtract(const DigitString& other);
    // Multiplies by other; sets the error flag when the product does not fit the capacity.
    void multiply(const DigitString& other);
    // Divides by divisor by long division, digit by digit from the most significant, and rounds the
    // quotient half up at its last digit: one further quotient digit is computed from the remainder
    // and one is added when it is greater than 4. A zero divisor sets the error flag.
    void divideRounded(const DigitString& divisor);

    // -1, 0 or 1 as this value is smaller, equal or larger than other (error flags are not looked at):
    // more digits is larger; with equal counts the digits decide from the most significant.
    int compare(const DigitString& other) const;
    // The digits, most significant first; "0" for zero. Meaningless while in error.
    std::u16string text() const;

  private:
    // Times ten plus d; the caller guarantees the room (the division's remainder has one spare cell).
    void appendLowDigit(uint16_t d);
    // Subtracts divisor as often as the value is not below it; returns how often.
    uint16_t subtractWhileNotBelow(const DigitString& divisor);
    // Drops high-order zero digits from the count.
    void normalise();
    // True (after setting this value's flag) when this value or operand is in error.
    bool errorFrom(const DigitString& operand);

    bool m_error = false;
    uint32_t m_count = 0;
    std::vector<uint16_t> m_digits;
};
