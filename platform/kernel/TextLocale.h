// Locale objects the text services need regardless of the process locale: the "C" locale for reading
// and writing reals with ".", and the code set of the user's locale for the ANSI code page.
#pragma once

#include <locale.h>

#include <string>

namespace platform::text {

// The "C" locale, created once; never null.
locale_t cLocale();

// The code set of CP_ACP: the user's locale code set as glibc names it ("UTF-8", "ISO-8859-1", "KOI8-R"),
// with the C/POSIX locale answered as "ISO-8859-1".
std::string ansiCodeSet();

}  // namespace platform::text
