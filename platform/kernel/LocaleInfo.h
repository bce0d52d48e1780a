// Locale items derived from glibc's locale data, shared by GetLocaleInfoW and the date and time
// formatting.
#pragma once

#include <locale.h>

#include <string>

#include "platform/wintypes.h"

namespace platform::locale {

// The text of a locale item (LOCALE_* without modifiers); false for items we do not know.
bool localeItem(locale_t locale, LCTYPE type, std::u16string& text);

// Month names (month 1-12): the nominative form, or the genitive form used next to a day number
// (differs in languages such as Russian); abbreviated or full.
std::u16string monthName(locale_t locale, int month, bool abbreviated, bool genitive);

// Copies text and its NUL into buffer as the locale functions do: returns the characters written, the
// characters needed when size is 0, or 0 with ERROR_INSUFFICIENT_BUFFER / ERROR_INVALID_PARAMETER.
int writeLocaleResult(const std::u16string& text, LPWSTR buffer, int size);

}  // namespace platform::locale
