// Money amounts: signed 64-bit counts of hundredths of the currency unit, and their text forms in the
// user's regional settings (separators taken from the RegionalSettings snapshot).
#pragma once

#include <cstdint>
#include <string>

namespace dove {

using Amount = int64_t;
constexpr Amount kAmountScale = 100;

// Rounds half away from zero, then drops the fraction: 1234.5 -> 1235, -1234.5 -> -1235, -0.4 -> 0.
// A value beyond the range of an amount is held at its ends, NaN gives 0.
Amount amountFromReal(double value);
// The same rounding; false, with amount untouched, when the result would leave the range of an amount
// (or value is not a number). Writes use it: an amount is refused rather than held at an end.
bool amountFromRealInRange(double value, Amount& amount);

// a + b and a - b in the range of an amount; false, with result untouched, when it would be left.
// Sums that are stored (balances, totals) are made with them, so that none ever wraps.
bool addAmounts(Amount a, Amount b, Amount& result);
bool subtractAmounts(Amount a, Amount b, Amount& result);

// The amount with the decimal and thousands separators: 1234567 -> "12 345.67"; -5 -> "-0.05".
// With omitZeroHundredths, an amount of whole units has no decimal part: -100 -> "-1".
std::u16string numberText(Amount amount, bool omitZeroHundredths);

// Fixed-point text of value with the given number of decimals (2 or 10 in this system), the point written
// as decimalChar.
std::u16string fixedText(double value, int decimals, char16_t decimalChar);

// Reads an amount as a user types it, whatever separators they use: the rightmost of the characters
// = ' , . ; @ | and backslash is the decimal point, every other non-digit except '-' is dropped. "1 234,5" ->
// 1234.5, "1.234,56" -> 1234.56, "12-3" -> 12. Never fails: unreadable text gives 0.
double parseTypedAmount(const std::u16string& text);

}  // namespace dove
