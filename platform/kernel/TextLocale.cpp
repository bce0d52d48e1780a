// The locale objects of the text services: "C" for numbers, the user's locale for the ANSI code set.
#include "TextLocale.h"

#include <langinfo.h>

#include <cstring>

#include "LocaleUser.h"

namespace platform::text {

locale_t cLocale() {
    static const locale_t kC = newlocale(LC_ALL_MASK, "C", nullptr);
    return kC;
}

std::string ansiCodeSet() {
    const char* codeSet = nl_langinfo_l(CODESET, platform::locale::userLocale());
    if (codeSet == nullptr || *codeSet == '\0' || std::strcmp(codeSet, "ANSI_X3.4-1968") == 0)
        return "ISO-8859-1";
    return codeSet;
}

}  // namespace platform::text
