// Which POSIX locale the locale services answer from: the user's (environment or test override) and
// the locales behind explicit LCIDs, with the mapping between locale names and language identifiers.
#pragma once

#include <locale.h>

#include <string>

#include "platform/wintypes.h"

namespace platform::locale {

// The user's locale object; the "C" locale when the environment names one that is not installed.
// Objects stay valid for the life of the process.
locale_t userLocale();

// The locale object for an LCID (LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT, LOCALE_NEUTRAL, the user's
// own LCID, or a language whose POSIX locale is installed); nullptr when there is none.
locale_t localeForLcid(LCID lcid);

// The language identifier of a locale object, from the name of its LC_TIME category.
LANGID languageOf(locale_t locale);

// True when the category of the locale is the C/POSIX locale (C.UTF-8 included).
bool isCLocale(locale_t locale, int category);

}  // namespace platform::locale
