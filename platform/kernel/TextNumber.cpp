// Numbers in UTF-16 text: reading reals and integers as the device's C library does ("C" locale),
// and writing integers in any radix.
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <string>

#include "TextLocale.h"
#include "platform/text.h"

namespace {

// The end of the longest prefix of text (after white space) that reads as a real number; start when
// there is none. Only sign, digits, "." and exponent count, as in the device's library.
const char16_t* scanReal(const char16_t* start) {
    const char16_t* p = start;
    if (*p == u'+' || *p == u'-') ++p;
    bool digits = false;
    while (iswdigit(*p))
        ++p, digits = true;
    if (*p == u'.') {
        ++p;
        while (iswdigit(*p))
            ++p, digits = true;
    }
    if (!digits) return start;
    if (*p == u'e' || *p == u'E') {
        const char16_t* exponent = p + 1;
        if (*exponent == u'+' || *exponent == u'-') ++exponent;
        if (iswdigit(*exponent)) {
            while (iswdigit(*exponent))
                ++exponent;
            p = exponent;
        }
    }
    return p;
}

int digitValue(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'z') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'Z') return ch - u'A' + 10;
    return 99;
}

struct ParsedInteger {
    ULONGLONG magnitude = 0;
    bool negative = false;
    bool overflow = false;  // magnitude exceeded 64 bits
    const char16_t* end = nullptr;
};

// Reads sign, prefix and digits in base (0 = from the prefix). end is text when no digit was read.
ParsedInteger parseInteger(const char16_t* text, int base) {
    ParsedInteger result;
    result.end = text;
    if (base < 0 || base == 1 || base > 36) return result;
    const char16_t* p = text;
    while (iswspace(*p))
        ++p;
    if (*p == u'+' || *p == u'-') result.negative = *p++ == u'-';
    if ((base == 0 || base == 16) && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') &&
        digitValue(p[2]) < 16) {
        p += 2, base = 16;
    } else if (base == 0) {
        base = p[0] == u'0' ? 8 : 10;
    }
    const char16_t* first = p;
    for (; digitValue(*p) < base; ++p) {
        ULONGLONG next = result.magnitude * static_cast<ULONGLONG>(base) + digitValue(*p);
        if (result.magnitude > (ULLONG_MAX - digitValue(*p)) / static_cast<ULONGLONG>(base)) {
            result.overflow = true;
        }
        result.magnitude = next;
    }
    if (p != first) result.end = p;
    return result;
}

void setEnd(char16_t** end, const char16_t* at) {
    if (end != nullptr) *end = const_cast<char16_t*>(at);
}

template <class Int>
Int clampSigned(const ParsedInteger& parsed, Int minimum, Int maximum) {
    ULONGLONG limit = parsed.negative ? static_cast<ULONGLONG>(maximum) + 1 : static_cast<ULONGLONG>(maximum);
    if (parsed.overflow || parsed.magnitude > limit) {
        errno = ERANGE;
        return parsed.negative ? minimum : maximum;
    }
    if (parsed.negative) return static_cast<Int>(0 - parsed.magnitude);
    return static_cast<Int>(parsed.magnitude);
}

template <class UInt>
UInt clampUnsigned(const ParsedInteger& parsed, UInt maximum) {
    if (parsed.overflow || parsed.magnitude > maximum) {
        errno = ERANGE;
        return maximum;
    }
    UInt value = static_cast<UInt>(parsed.magnitude);
    return parsed.negative ? static_cast<UInt>(0 - value) : value;
}

char16_t* writeUnsigned(ULONGLONG value, bool negative, char16_t* buffer, int radix) {
    if (buffer == nullptr) return buffer;
    if (radix < 2 || radix > 36) {
        buffer[0] = 0;
        return buffer;
    }
    char16_t digits[66];
    int count = 0;
    do {
        int digit = static_cast<int>(value % static_cast<ULONGLONG>(radix));
        digits[count++] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + digit - 10);
        value /= static_cast<ULONGLONG>(radix);
    } while (value != 0);
    char16_t* out = buffer;
    if (negative) *out++ = u'-';
    while (count > 0)
        *out++ = digits[--count];
    *out = 0;
    return buffer;
}

char16_t* writeSigned(__int64 value, ULONGLONG unsignedPattern, char16_t* buffer, int radix) {
    if (radix == 10 && value < 0) {
        return writeUnsigned(0 - static_cast<ULONGLONG>(value), true, buffer, radix);
    }
    return writeUnsigned(radix == 10 ? static_cast<ULONGLONG>(value) : unsignedPattern, false, buffer, radix);
}

}  // namespace

double wcstod(const char16_t* text, char16_t** end) {
    const char16_t* start = text;
    while (iswspace(*start))
        ++start;
    const char16_t* stop = scanReal(start);
    if (stop == start) {
        setEnd(end, text);
        return 0.0;
    }
    // The accepted prefix is plain ASCII, so the C library reads it exactly (correct rounding).
    std::string narrow(start, stop);
    double value = strtod_l(narrow.c_str(), nullptr, platform::text::cLocale());
    setEnd(end, stop);
    return value;
}

LONG wcstol(const char16_t* text, char16_t** end, int base) {
    ParsedInteger parsed = parseInteger(text, base);
    setEnd(end, parsed.end);
    return clampSigned<LONG>(parsed, INT32_MIN, INT32_MAX);
}

ULONG wcstoul(const char16_t* text, char16_t** end, int base) {
    ParsedInteger parsed = parseInteger(text, base);
    setEnd(end, parsed.end);
    return clampUnsigned<ULONG>(parsed, UINT32_MAX);
}

__int64 _wcstoi64(const char16_t* text, char16_t** end, int base) {
    ParsedInteger parsed = parseInteger(text, base);
    setEnd(end, parsed.end);
    return clampSigned<__int64>(parsed, INT64_MIN, INT64_MAX);
}

ULONGLONG _wcstoui64(const char16_t* text, char16_t** end, int base) {
    ParsedInteger parsed = parseInteger(text, base);
    setEnd(end, parsed.end);
    return clampUnsigned<ULONGLONG>(parsed, UINT64_MAX);
}

int _wtoi(const char16_t* text) {
    return wcstol(text, nullptr, 10);
}

LONG _wtol(const char16_t* text) {
    return wcstol(text, nullptr, 10);
}

__int64 _wtoi64(const char16_t* text) {
    return _wcstoi64(text, nullptr, 10);
}

double _wtof(const char16_t* text) {
    return wcstod(text, nullptr);
}

char16_t* _itow(int value, char16_t* buffer, int radix) {
    return writeSigned(value, static_cast<uint32_t>(value), buffer, radix);
}

char16_t* _ltow(LONG value, char16_t* buffer, int radix) {
    return writeSigned(value, static_cast<uint32_t>(value), buffer, radix);
}

char16_t* _ultow(ULONG value, char16_t* buffer, int radix) {
    return writeUnsigned(value, false, buffer, radix);
}

char16_t* _i64tow(__int64 value, char16_t* buffer, int radix) {
    return writeSigned(value, static_cast<ULONGLONG>(value), buffer, radix);
}

char16_t* _ui64tow(ULONGLONG value, char16_t* buffer, int radix) {
    return writeUnsigned(value, false, buffer, radix);
}
