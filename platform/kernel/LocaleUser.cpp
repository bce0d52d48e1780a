// The user's POSIX locale (environment or test override), a cache of locale objects, and the mapping
// between locale names ("ru_RU.UTF-8") and the platform's language identifiers.
#include "LocaleUser.h"

#include <langinfo.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/winnls.h"

namespace platform::locale {
namespace {

struct LanguageEntry {
    const char* language;   // ISO 639 code of the POSIX locale name
    const char* territory;  // territory of the name
    WORD primary;
    WORD sub;
};

// The first entry of a language is its default territory.
constexpr LanguageEntry kLanguages[] = {
    {"en", "US", LANG_ENGLISH, 1},
    {"en", "GB", LANG_ENGLISH, 2},
    {"en", "AU", LANG_ENGLISH, 3},
    {"en", "CA", LANG_ENGLISH, 4},
    {"ru", "RU", LANG_RUSSIAN, 1},
    {"de", "DE", LANG_GERMAN, 1},
    {"de", "CH", LANG_GERMAN, 2},
    {"de", "AT", LANG_GERMAN, 3},
    {"fr", "FR", LANG_FRENCH, 1},
    {"es", "ES", LANG_SPANISH, 3},
    {"it", "IT", LANG_ITALIAN, 1},
    {"nl", "NL", LANG_DUTCH, 1},
    {"pl", "PL", LANG_POLISH, 1},
    {"pt", "BR", LANG_PORTUGUESE, 1},
    {"pt", "PT", LANG_PORTUGUESE, 2},
    {"uk", "UA", LANG_UKRAINIAN, 1},
    {"be", "BY", LANG_BELARUSIAN, 1},
    {"el", "GR", LANG_GREEK, 1},
    {"cs", "CZ", 0x05, 1},
    {"da", "DK", 0x06, 1},
    {"fi", "FI", 0x0b, 1},
    {"hu", "HU", 0x0e, 1},
    {"ja", "JP", 0x11, 1},
    {"ko", "KR", 0x12, 1},
    {"nb", "NO", 0x14, 1},
    {"sv", "SE", 0x1d, 1},
    {"tr", "TR", 0x1f, 1},
    {"kk", "KZ", 0x3f, 1},
};

constexpr LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::mutex g_lock;
std::string g_override;  // the test hook's locale name; empty: the environment's
// Locale objects by name (environment snapshots under "env:" keys). Never freed, and never destroyed at
// exit, because returned objects stay in use for the life of the process.
std::map<std::string, locale_t>& cache() {
    static auto* instance = new std::map<std::string, locale_t>();
    return *instance;
}

std::string environmentKey() {
    static const char* const kVariables[] = {"LC_ALL",      "LC_CTYPE",    "LC_NUMERIC", "LC_TIME",
                                             "LC_MONETARY", "LC_MESSAGES", "LANG"};
    std::string key = "env:";
    for (const char* variable : kVariables) {
        const char* value = std::getenv(variable);
        key += value != nullptr ? value : "";
        key += '\x1f';
    }
    return key;
}

locale_t cachedLocale(const std::string& key, const char* name) {
    auto found = cache().find(key);
    if (found != cache().end()) return found->second;
    locale_t made = newlocale(LC_ALL_MASK, name, nullptr);
    if (made == nullptr) return nullptr;
    cache().emplace(key, made);
    return made;
}

locale_t cLocaleLocked() {
    return cachedLocale("C", "C");
}

locale_t userLocaleLocked() {
    if (!g_override.empty()) {
        if (locale_t chosen = cachedLocale(g_override, g_override.c_str())) return chosen;
    }
    locale_t fromEnvironment = cachedLocale(environmentKey(), "");
    return fromEnvironment != nullptr ? fromEnvironment : cLocaleLocked();
}

// Loads the installed POSIX locale of a table entry ("ru_RU.UTF-8", "ru_RU.utf8", "ru_RU").
locale_t localeOfEntry(const LanguageEntry& entry) {
    std::string base = std::string(entry.language) + "_" + entry.territory;
    for (const char* suffix : {".UTF-8", ".utf8", ""}) {
        std::string name = base + suffix;
        if (locale_t made = cachedLocale(name, name.c_str())) return made;
    }
    return nullptr;
}

}  // namespace

bool isCLocale(locale_t locale, int category) {
    const char* name = nl_langinfo_l(_NL_LOCALE_NAME(category), locale);
    if (name == nullptr) return true;
    return std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 || std::strncmp(name, "C.", 2) == 0;
}

LANGID languageOf(locale_t locale) {
    if (isCLocale(locale, LC_TIME)) return kEnglishUs;
    std::string name = nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), locale);
    std::string language = name.substr(0, name.find_first_of("_.@"));
    size_t underscore = name.find('_');
    std::string territory = underscore == std::string::npos ? "" : name.substr(underscore + 1, 2);
    const LanguageEntry* languageMatch = nullptr;
    for (const LanguageEntry& entry : kLanguages) {
        if (language != entry.language) continue;
        if (territory == entry.territory) return MAKELANGID(entry.primary, entry.sub);
        if (languageMatch == nullptr) languageMatch = &entry;
    }
    return languageMatch != nullptr ? MAKELANGID(languageMatch->primary, languageMatch->sub) : kEnglishUs;
}

locale_t userLocale() {
    std::lock_guard guard(g_lock);
    return userLocaleLocked();
}

locale_t localeForLcid(LCID lcid) {
    std::lock_guard guard(g_lock);
    locale_t user = userLocaleLocked();
    if (lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT || lcid == LOCALE_NEUTRAL) return user;
    LANGID wanted = LANGIDFROMLCID(lcid);
    if (SORTIDFROMLCID(lcid) != SORT_DEFAULT) return nullptr;
    if (wanted == languageOf(user)) return user;
    if (wanted == kEnglishUs && isCLocale(user, LC_TIME)) return user;
    WORD sub = SUBLANGID(wanted);
    const LanguageEntry* fallback = nullptr;
    for (const LanguageEntry& entry : kLanguages) {
        if (PRIMARYLANGID(wanted) != entry.primary) continue;
        if (sub == entry.sub) return localeOfEntry(entry);
        if (fallback == nullptr) fallback = &entry;
    }
    if (fallback != nullptr && (sub == SUBLANG_DEFAULT || sub == SUBLANG_NEUTRAL))
        return localeOfEntry(*fallback);
    return nullptr;
}

}  // namespace platform::locale

namespace platform {

bool setUserLocale(const std::string& name) {
    std::lock_guard guard(locale::g_lock);
    if (!name.empty() && locale::cachedLocale(name, name.c_str()) == nullptr) return false;
    locale::g_override = name;
    return true;
}

}  // namespace platform

LANGID GetUserDefaultLangID() {
    return platform::locale::languageOf(platform::locale::userLocale());
}

LANGID GetSystemDefaultLangID() {
    return GetUserDefaultLangID();
}

LCID GetUserDefaultLCID() {
    return MAKELCID(GetUserDefaultLangID(), SORT_DEFAULT);
}

LCID GetSystemDefaultLCID() {
    return GetUserDefaultLCID();
}
