// Str's formatting: bounds the result's length by scanning the format and its arguments, formats with
// the platform's device formatting into a buffer of that size, and fits the result into its size class.
#include <algorithm>
#include <cstring>

#include "Str.h"
#include "StrBlock.h"
#include "platform/windows.h"

namespace {

// The characters a real can need beyond its precision: %f may write all 309 integer digits of the
// largest double; %e and %g a sign, one digit, the point and a three-digit exponent.
constexpr int64_t kFixedRealExtra = 320;
constexpr int64_t kRealExtra = 32;
// Any integer in any base with sign or prefix fits (64-bit octal has 22 digits).
constexpr int64_t kIntegerLength = 32;
constexpr int64_t kPointerLength = 32;
constexpr int kDigitLimit = 100000;  // the formatter stops reading width digits there too

enum class Size { kDefault, kInt64, kPointer, kShort, kLong };

// va_list is an array type on some targets; wrapping it lets helpers take it by reference.
struct Args {
    va_list list;
};

struct Conversion {
    int64_t width = 0;
    int64_t precision = -1;  // -1: not given
    Size size = Size::kDefault;
    WCHAR type = 0;
};

bool startsWith(const WCHAR* p, const WCHAR* prefix) {
    return wcsncmp(p, prefix, wcslen(prefix)) == 0;
}

const WCHAR* readNumber(const WCHAR* p, int64_t& value, Args& args) {
    if (*p == u'*') {
        value = va_arg(args.list, int);
        return p + 1;
    }
    value = 0;
    while (*p >= u'0' && *p <= u'9')
        value = std::min<int64_t>(value * 10 + (*p++ - u'0'), kDigitLimit);
    return p;
}

// The size prefixes the device formatting accepts; the arguments are read with the same types.
const WCHAR* readSize(const WCHAR* p, Size& size) {
    for (;;) {
        if (startsWith(p, u"I64") || startsWith(p, u"ll")) {
            size = Size::kInt64, p += *p == u'I' ? 3 : 2;
        } else if (startsWith(p, u"I32")) {
            size = Size::kLong, p += 3;
        } else if (*p == u'I') {
            size = Size::kPointer, ++p;
        } else if (*p == u'h') {
            size = Size::kShort, ++p;
        } else if (*p == u'l' || *p == u'w') {
            size = Size::kLong, ++p;
        } else if (*p == u'L' || *p == u'F' || *p == u'N') {
            ++p;
        } else {
            return p;
        }
    }
}

// Parses the conversion after "%" (flags, width, precision, size, type); returns the position after it.
const WCHAR* readConversion(const WCHAR* p, Conversion& c, Args& args) {
    while (*p == u'-' || *p == u'+' || *p == u' ' || *p == u'#' || *p == u'0')
        ++p;
    p = readNumber(p, c.width, args);
    c.width = c.width < 0 ? -c.width : c.width;
    if (*p == u'.') {
        p = readNumber(p + 1, c.precision, args);
        if (c.precision < 0) c.precision = -1;
    }
    p = readSize(p, c.size);
    c.type = *p;
    return *p != 0 ? p + 1 : p;
}

bool isNarrow(const Conversion& c) {
    if (c.size == Size::kShort) return true;
    if (c.size == Size::kLong) return false;
    return c.type == u'S' || c.type == u'C';
}

// A narrow text never widens: each byte gives at most one UTF-16 unit in the locale's code sets.
int64_t textLength(const Conversion& c, Args& args) {
    int64_t length;
    if (isNarrow(c)) {
        const char* text = va_arg(args.list, const char*);
        length = text != nullptr ? static_cast<int64_t>(std::strlen(text)) : 6;
    } else {
        const WCHAR* text = va_arg(args.list, const WCHAR*);
        length = text != nullptr ? static_cast<int64_t>(wcslen(text)) : 6;
    }
    return c.precision >= 0 ? std::min(length, c.precision) : length;
}

void skipInteger(const Conversion& c, Args& args) {
    if (c.size == Size::kInt64)
        (void)va_arg(args.list, long long);
    else if (c.size == Size::kPointer)
        (void)va_arg(args.list, intptr_t);
    else
        (void)va_arg(args.list, int);
}

// The most characters one conversion can produce, its arguments consumed.
int64_t conversionBound(const Conversion& c, Args& args) {
    int64_t precision = c.precision < 0 ? 6 : c.precision;
    int64_t body = 0;
    switch (c.type) {
        case u'c':
        case u'C':
            (void)va_arg(args.list, int);
            body = 1;
            break;
        case u's':
        case u'S':
            body = textLength(c, args);
            break;
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            skipInteger(c, args);
            body = std::max(kIntegerLength, c.precision + 2);
            break;
        case u'f':
            (void)va_arg(args.list, double);
            body = precision + kFixedRealExtra;
            break;
        case u'e':
        case u'E':
        case u'g':
        case u'G':
            (void)va_arg(args.list, double);
            body = precision + kRealExtra;
            break;
        case u'p':
            (void)va_arg(args.list, void*);
            body = kPointerLength;
            break;
        case u'n':
            (void)va_arg(args.list, void*);
            return 0;
        case 0:
            return 0;
        default:
            body = 1;  // "%%" and unknown conversions print the character
            break;
    }
    return std::max(body, c.width);
}

// An upper bound of the formatted length, or -1 when it is beyond any string's length.
int64_t boundLength(const WCHAR* format, va_list list) {
    Args args;
    va_copy(args.list, list);
    int64_t total = 0;
    for (const WCHAR* p = format; *p != 0 && total <= strblock::kMaxLength;) {
        if (*p != u'%') {
            ++total, ++p;
            continue;
        }
        Conversion c;
        p = readConversion(p + 1, c, args);
        total += conversionBound(c, args);
    }
    va_end(args.list);
    return total <= strblock::kMaxLength ? total : -1;
}

// Formats into text's buffer of room characters; the length, or -1 when it did not fit.
int formatInto(WCHAR* text, int room, const WCHAR* format, va_list list) {
    va_list args;
    va_copy(args, list);
    int length = _vsnwprintf(text, static_cast<size_t>(room), format, args);
    va_end(args);
    return length;
}

}  // namespace

Str Str::formatted(const WCHAR* format, ...) {
    Str text;
    va_list args;
    va_start(args, format);
    text.formatV(format, args);
    va_end(args);
    return text;
}

bool Str::format(const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    bool done = formatV(format, args);
    va_end(args);
    return done;
}

// The result is built in a new buffer and only then replaces the old one, so arguments may point
// into this string.
bool Str::formatV(const WCHAR* format, va_list args) {
    if (format == nullptr || format[0] == 0) {
        release();
        return true;
    }
    int64_t bound = boundLength(format, args);
    if (bound < 0) {
        strblock::reportAllocationFailure();
        return false;
    }
    WCHAR* block = allocate(static_cast<int>(bound));
    if (block == nullptr) return false;
    Str result;
    result.m_text = block;
    int length = formatInto(result.m_text, static_cast<int>(bound), format, args);
    if (length < 0) {
        // The scan's bound should always hold; should it not, ask the formatter for the exact length.
        va_list again;
        va_copy(again, args);
        int exact = _vscwprintf(format, again);
        va_end(again);
        if (result.getBuffer(exact) == nullptr) return false;
        length = formatInto(result.m_text, exact, format, args);
    }
    result.setLength(std::max(length, 0));
    // A bound far above the result would keep a block several classes too large; fit it.
    if (strblock::sizeClass(result.length()) < result.header()->capacity) {
        Str fitted(result.m_text, result.length());
        if (!fitted.isEmpty()) result = fitted;
    }
    std::swap(m_text, result.m_text);
    return true;
}
