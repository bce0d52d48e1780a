// Typing an amount digit by digit on the field panel: the typed text (digits and at most one decimal
// separator, the locale's) after each key, and the amount in hundredths that the text stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace shell {

// The longest typed text, separator included.
inline constexpr size_t kTypedAmountLength = 15;

// Keys of amount typing, as characters: the digits, backspace (8), clear (12, form feed) and the decimal
// point ("." or ",", whatever the locale's separator is).
inline constexpr char16_t kTypeBackspace = 8;
inline constexpr char16_t kTypeClear = 12;

// The text after key is typed on text (an empty text counts as "0"), with separator as the decimal
// separator; nullopt for a character that is not a typing key. Clear gives "0"; backspace removes the
// last character, the separator together with the digit before it, and leaves "0" rather than nothing;
// the point is appended once, while the text is shorter than 15 characters; a digit is appended while
// the text is shorter than 15 characters and has fewer than two digits after the separator, and
// replaces a lone "0".
std::optional<std::u16string> typeAmountKey(const std::u16string& text, char16_t key, char16_t separator);

// The amount the typed text stands for, in hundredths: its digits as one number, times 100 when no digit
// follows the separator (or there is none), times 10 when one does. Never negative.
int64_t typedAmountValue(const std::u16string& text, char16_t separator);

}  // namespace shell
