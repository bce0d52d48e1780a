// GetLocaleInfoW: the platform's locale items derived from glibc's locale data (LC_NUMERIC,
// LC_MONETARY, LC_TIME and the week data). The C/POSIX locale answers as the invariant locale does.
#include "LocaleInfo.h"

#include <iconv.h>
#include <langinfo.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "LocaleUser.h"
#include "platform/device.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/winerror.h"
#include "platform/winnls.h"

namespace platform::locale {
namespace {

// glibc text in the locale's code set, as UTF-16.
std::u16string localeText(locale_t locale, nl_item item) {
    const char* raw = nl_langinfo_l(item, locale);
    if (raw == nullptr) return {};
    const char* codeSet = nl_langinfo_l(CODESET, locale);
    if (codeSet == nullptr || std::strcmp(codeSet, "UTF-8") == 0 ||
        std::strcmp(codeSet, "ANSI_X3.4-1968") == 0) {
        return fromUtf8(raw);
    }
    iconv_t converter = iconv_open("UTF-8", codeSet);
    if (converter == reinterpret_cast<iconv_t>(-1)) return fromUtf8(raw);
    std::string in(raw), out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return fromUtf8(out);
}

// A one-byte numeric item (cs_precedes, sign_posn, frac_digits, week data); -1 when the locale
// leaves it open.
int localeByte(locale_t locale, nl_item item) {
    const char* raw = nl_langinfo_l(item, locale);
    if (raw == nullptr || *raw == CHAR_MAX) return -1;
    return static_cast<signed char>(*raw);
}

std::u16string number(int value) {
    return platform::format(u"%d", value);
}

// Windows picture of a strftime format, with the order of its date fields ('d', 'M', 'y') and the
// literal text between the first two of them.
struct Picture {
    std::u16string text;
    std::u16string fields;
    std::u16string firstSeparator;
};

struct StrftimeField {
    char conversion;
    const char16_t* picture;
    char16_t field;  // 'd', 'M', 'y' for date fields, 0 otherwise
};

constexpr StrftimeField kStrftimeFields[] = {
    {'d', u"dd", u'd'},  {'e', u"d", u'd'},   {'m', u"MM", u'M'},   {'y', u"yy", u'y'}, {'Y', u"yyyy", u'y'},
    {'b', u"MMM", u'M'}, {'h', u"MMM", u'M'}, {'B', u"MMMM", u'M'}, {'a', u"ddd", 0},   {'A', u"dddd", 0},
    {'H', u"HH", 0},     {'k', u"H", 0},      {'I', u"hh", 0},      {'l', u"h", 0},     {'M', u"mm", 0},
    {'S', u"ss", 0},     {'p', u"tt", 0},     {'P', u"tt", 0},
};

bool needsQuotes(const std::u16string& literal) {
    for (char16_t ch : literal) {
        if (iswalpha(ch) || ch == u'\'') return true;
    }
    return false;
}

void flushLiteral(Picture& picture, std::u16string& literal) {
    if (literal.empty()) return;
    if (picture.fields.size() == 1 && picture.firstSeparator.empty()) picture.firstSeparator = literal;
    if (!needsQuotes(literal)) {
        picture.text += literal;
    } else {
        picture.text += u'\'';
        for (char16_t ch : literal)
            picture.text += ch == u'\'' ? std::u16string(u"''") : std::u16string(1, ch);
        picture.text += u'\'';
    }
    literal.clear();
}

void convertStrftime(locale_t locale, const std::string& format, Picture& picture, int depth);

// Expands one conversion into the picture; composite ones (%D, %T, %r, %x) recursively.
void convertConversion(locale_t locale, char conversion, Picture& picture, int depth) {
    switch (conversion) {
        case 'D':
            return convertStrftime(locale, "%m/%d/%y", picture, depth + 1);
        case 'F':
            return convertStrftime(locale, "%Y-%m-%d", picture, depth + 1);
        case 'T':
            return convertStrftime(locale, "%H:%M:%S", picture, depth + 1);
        case 'R':
            return convertStrftime(locale, "%H:%M", picture, depth + 1);
        case 'r':
            return convertStrftime(locale, nl_langinfo_l(T_FMT_AMPM, locale), picture, depth + 1);
        case 'x':
            return convertStrftime(locale, nl_langinfo_l(D_FMT, locale), picture, depth + 1);
        case 'X':
            return convertStrftime(locale, nl_langinfo_l(T_FMT, locale), picture, depth + 1);
        default:
            break;
    }
    for (const StrftimeField& field : kStrftimeFields) {
        if (field.conversion != conversion) continue;
        picture.text += field.picture;
        if (field.field != 0 && picture.fields.find(field.field) == std::u16string::npos) {
            picture.fields += field.field;
        }
        return;
    }
}

void convertStrftime(locale_t locale, const std::string& format, Picture& picture, int depth) {
    if (depth > 4) return;
    std::u16string text = fromUtf8(format);
    std::u16string literal;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%' || i + 1 >= text.size()) {
            literal += text[i];
            continue;
        }
        ++i;
        while (i < text.size() && (wcschr(u"-_0^#EO", text[i]) != nullptr || iswdigit(text[i])))
            ++i;
        if (i >= text.size()) break;
        if (text[i] == u'%') {
            literal += u'%';
            continue;
        }
        if (text[i] == u'n' || text[i] == u't') {
            literal += u' ';
            continue;
        }
        flushLiteral(picture, literal);
        convertConversion(locale, static_cast<char>(text[i]), picture, depth);
    }
    flushLiteral(picture, literal);
}

Picture pictureOf(locale_t locale, nl_item item) {
    Picture picture;
    convertStrftime(locale, nl_langinfo_l(item, locale), picture, 0);
    return picture;
}

// 0 month-day-year, 1 day-month-year, 2 year-month-day.
int dateOrder(locale_t locale) {
    std::u16string fields = pictureOf(locale, D_FMT).fields;
    if (fields.empty()) return 0;
    if (fields[0] == u'y') return 2;
    return fields[0] == u'd' ? 1 : 0;
}

std::u16string longDatePicture(locale_t locale) {
    switch (dateOrder(locale)) {
        case 1:
            return u"d MMMM yyyy";
        case 2:
            return u"yyyy MMMM d";
        default:
            return u"dddd, MMMM d, yyyy";
    }
}

// Days since 1970-01-01 of a proleptic Gregorian date.
long daysFromCivil(long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long>(dayOfEra) - 719468;
}

// Windows numbering: 0 Monday ... 6 Sunday.
int firstDayOfWeek(locale_t locale) {
    // glibc hands this 32-bit item over in the first bytes of the returned pointer value.
    const char* raw = nl_langinfo_l(_NL_TIME_WEEK_1STDAY, locale);
    uint32_t base = 0;
    std::memcpy(&base, &raw, sizeof base);
    int first = localeByte(locale, _NL_TIME_FIRST_WEEKDAY);
    if (base == 0 || first < 1) return 6;
    long days = daysFromCivil(static_cast<long>(base / 10000), (base / 100) % 100, base % 100);
    int baseSundayBased = static_cast<int>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    int sundayBased = (baseSundayBased + first - 1) % 7;
    return (sundayBased + 6) % 7;
}

int firstWeekOfYear(locale_t locale) {
    int minimumDays = localeByte(locale, _NL_TIME_WEEK_1STWEEK);
    if (minimumDays >= 7) return 1;
    return minimumDays >= 4 ? 2 : 0;
}

// Windows positive currency pattern: 0 $1, 1 1$, 2 $ 1, 3 1 $.
int positiveCurrencyPattern(locale_t locale) {
    int precedes = localeByte(locale, P_CS_PRECEDES);
    int separated = localeByte(locale, P_SEP_BY_SPACE) > 0;
    return (precedes == 1 ? 0 : 1) + (separated ? 2 : 0);
}

// Windows negative currency pattern (0-15) nearest to the POSIX sign position and symbol placement.
int negativeCurrencyPattern(locale_t locale) {
    // Rows: symbol first without space, symbol last without space, symbol first with space, symbol
    // last with space. Columns: POSIX sign_posn 0 (parentheses) to 4 (sign right after the symbol).
    static const int kPatterns[4][5] = {
        {0, 1, 3, 1, 2}, {4, 5, 7, 6, 7}, {14, 9, 11, 9, 12}, {15, 8, 10, 13, 10}};
    int precedes = localeByte(locale, N_CS_PRECEDES) == 1 ? 0 : 1;
    int separated = localeByte(locale, N_SEP_BY_SPACE) > 0 ? 2 : 0;
    int position = localeByte(locale, N_SIGN_POSN);
    if (position < 0 || position > 4) position = 1;
    return kPatterns[separated + precedes][position];
}

// Items of the C/POSIX locale, answered as the invariant locale does; false for the others.
bool invariantItem(locale_t locale, LCTYPE type, std::u16string& text) {
    struct Invariant {
        LCTYPE type;
        int category;
        const char16_t* text;
    };
    static const Invariant kInvariant[] = {
        {LOCALE_SDECIMAL, LC_NUMERIC, u"."},
        {LOCALE_STHOUSAND, LC_NUMERIC, u","},
        {LOCALE_SCURRENCY, LC_MONETARY, u"\u00A4"},
        {LOCALE_SINTLSYMBOL, LC_MONETARY, u"XDR"},
        {LOCALE_ICURRENCY, LC_MONETARY, u"0"},
        {LOCALE_INEGCURR, LC_MONETARY, u"0"},
        {LOCALE_ICURRDIGITS, LC_MONETARY, u"2"},
        {LOCALE_SMONDECIMALSEP, LC_MONETARY, u"."},
        {LOCALE_SMONTHOUSANDSEP, LC_MONETARY, u","},
        {LOCALE_SPOSITIVESIGN, LC_MONETARY, u""},
        {LOCALE_SNEGATIVESIGN, LC_MONETARY, u"-"},
        {LOCALE_SSHORTDATE, LC_TIME, u"MM/dd/yyyy"},
        {LOCALE_SLONGDATE, LC_TIME, u"dddd, dd MMMM yyyy"},
        {LOCALE_STIMEFORMAT, LC_TIME, u"HH:mm:ss"},
        {LOCALE_IFIRSTDAYOFWEEK, LC_TIME, u"6"},
        {LOCALE_IFIRSTWEEKOFYEAR, LC_TIME, u"0"},
    };
    for (const Invariant& item : kInvariant) {
        if (item.type == type && isCLocale(locale, item.category)) {
            text = item.text;
            return true;
        }
    }
    return false;
}

bool numericItem(locale_t locale, LCTYPE type, std::u16string& text) {
    switch (type) {
        case LOCALE_SDECIMAL:
            text = localeText(locale, RADIXCHAR);
            return true;
        case LOCALE_STHOUSAND:
            text = localeText(locale, THOUSEP);
            return true;
        case LOCALE_IDIGITS:
            text = u"2";
            return true;
        case LOCALE_ILZERO:
            text = u"1";
            return true;
        case LOCALE_SLIST:
            text = localeText(locale, RADIXCHAR) == u"," ? u";" : u",";
            return true;
        case LOCALE_ILANGUAGE:
            text = platform::format(u"%04x", languageOf(locale));
            return true;
        default:
            return false;
    }
}

bool monetaryItem(locale_t locale, LCTYPE type, std::u16string& text) {
    switch (type) {
        case LOCALE_SCURRENCY:
            text = localeText(locale, CURRENCY_SYMBOL);
            return true;
        case LOCALE_SINTLSYMBOL:
            text = localeText(locale, INT_CURR_SYMBOL).substr(0, 3);
            return true;
        case LOCALE_ICURRENCY:
            text = number(positiveCurrencyPattern(locale));
            return true;
        case LOCALE_INEGCURR:
            text = number(negativeCurrencyPattern(locale));
            return true;
        case LOCALE_SMONDECIMALSEP:
            text = localeText(locale, MON_DECIMAL_POINT);
            return true;
        case LOCALE_SMONTHOUSANDSEP:
            text = localeText(locale, MON_THOUSANDS_SEP);
            return true;
        case LOCALE_SPOSITIVESIGN:
            text = localeText(locale, POSITIVE_SIGN);
            return true;
        case LOCALE_SNEGATIVESIGN:
            text = localeText(locale, NEGATIVE_SIGN);
            return true;
        case LOCALE_ICURRDIGITS: {
            int digits = localeByte(locale, FRAC_DIGITS);
            text = number(digits >= 0 && digits <= 9 ? digits : 2);
            return true;
        }
        default:
            return false;
    }
}

bool timeItem(locale_t locale, LCTYPE type, std::u16string& text) {
    switch (type) {
        case LOCALE_SDATE:
            text = pictureOf(locale, D_FMT).firstSeparator;
            return true;
        case LOCALE_IDATE:
        case LOCALE_ILDATE:
            text = number(dateOrder(locale));
            return true;
        case LOCALE_SSHORTDATE:
            text = pictureOf(locale, D_FMT).text;
            return true;
        case LOCALE_SLONGDATE:
            text = longDatePicture(locale);
            return true;
        case LOCALE_STIMEFORMAT:
            text = pictureOf(locale, T_FMT).text;
            return true;
        case LOCALE_STIME: {
            std::u16string picture = pictureOf(locale, T_FMT).text;
            size_t at = picture.find_first_not_of(u"Hhmst");
            text = at == std::u16string::npos ? u":" : picture.substr(at, 1);
            return true;
        }
        case LOCALE_ITIME:
            text = pictureOf(locale, T_FMT).text.find(u'H') != std::u16string::npos ? u"1" : u"0";
            return true;
        case LOCALE_S1159:
            text = localeText(locale, AM_STR);
            return true;
        case LOCALE_S2359:
            text = localeText(locale, PM_STR);
            return true;
        case LOCALE_IFIRSTDAYOFWEEK:
            text = number(firstDayOfWeek(locale));
            return true;
        case LOCALE_IFIRSTWEEKOFYEAR:
            text = number(firstWeekOfYear(locale));
            return true;
        case LOCALE_SMONTHNAME13:
        case LOCALE_SABBREVMONTHNAME13:
            text.clear();
            return true;
        default:
            break;
    }
    if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7) {
        bool abbreviated = type >= LOCALE_SABBREVDAYNAME1;
        int monday0 = static_cast<int>(type - (abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1));
        text = localeText(locale, (abbreviated ? ABDAY_1 : DAY_1) + (monday0 + 1) % 7);
        return true;
    }
    if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12) {
        bool abbreviated = type >= LOCALE_SABBREVMONTHNAME1;
        int month =
            static_cast<int>(type - (abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1)) + 1;
        text = monthName(locale, month, abbreviated, false);
        return true;
    }
    return false;
}

}  // namespace

std::u16string monthName(locale_t locale, int month, bool abbreviated, bool genitive) {
    if (month < 1 || month > 12) return {};
    nl_item formatted = (abbreviated ? ABMON_1 : MON_1) + month - 1;
    if (genitive) return localeText(locale, formatted);
    std::u16string standalone = localeText(locale, (abbreviated ? _NL_ABALTMON_1 : ALTMON_1) + month - 1);
    return standalone.empty() ? localeText(locale, formatted) : standalone;
}

bool localeItem(locale_t locale, LCTYPE type, std::u16string& text) {
    return invariantItem(locale, type, text) || numericItem(locale, type, text) ||
           monetaryItem(locale, type, text) || timeItem(locale, type, text);
}

int writeLocaleResult(const std::u16string& text, LPWSTR buffer, int size) {
    if (size < 0 || (buffer == nullptr && size > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int needed = static_cast<int>(text.size()) + 1;
    if (size == 0) return needed;
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return needed;
}

}  // namespace platform::locale

int GetLocaleInfoW(LCID lcid, LCTYPE type, LPWSTR buffer, int size) {
    using namespace platform::locale;
    locale_t locale = localeForLcid(lcid);
    if (locale == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool asNumber = (type & LOCALE_RETURN_NUMBER) != 0;
    LCTYPE item = type & ~(LOCALE_RETURN_NUMBER | LOCALE_NOUSEROVERRIDE);
    std::u16string text;
    if (!localeItem(locale, item, text)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (!asNumber) return writeLocaleResult(text, buffer, size);
    char16_t* end = nullptr;
    ULONG value = wcstoul(text.c_str(), &end, item == LOCALE_ILANGUAGE ? 16 : 10);
    if (text.empty() || end == nullptr || *end != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    constexpr int kDwordChars = sizeof(DWORD) / sizeof(WCHAR);
    if (size == 0) return kDwordChars;
    if (buffer == nullptr || size < kDwordChars) {
        SetLastError(buffer == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    DWORD word = value;
    std::memcpy(buffer, &word, sizeof(word));
    return kDwordChars;
}
