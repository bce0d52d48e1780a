// printf-style formatting of UTF-16 text with the device's conventions (wide %s/%c, narrow %S/%C,
// I64 sizes, 32-bit l, reals with "." and three-digit exponents) and the swprintf family on top.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "TextLocale.h"
#include "platform/text.h"

namespace {

enum class ArgSize { kDefault, kChar, kShort, kLong, kInt64, kPointer, kNarrow, kWide };

struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // -1: not given
    ArgSize size = ArgSize::kDefault;
    char16_t conversion = 0;
};

// va_list is an array type on some targets; wrapping it lets helpers take it by reference.
struct ArgList {
    va_list list;
};

const char16_t* parseFlags(const char16_t* p, Directive& directive) {
    for (;; ++p) {
        switch (*p) {
            case u'-':
                directive.left = true;
                break;
            case u'+':
                directive.plus = true;
                break;
            case u' ':
                directive.space = true;
                break;
            case u'#':
                directive.alternate = true;
                break;
            case u'0':
                directive.zero = true;
                break;
            default:
                return p;
        }
    }
}

const char16_t* parseNumber(const char16_t* p, int& value, ArgList& args, bool& fromArgs) {
    fromArgs = false;
    if (*p == u'*') {
        value = va_arg(args.list, int);
        fromArgs = true;
        return p + 1;
    }
    value = 0;
    while (*p >= u'0' && *p <= u'9')
        value = std::min(value * 10 + (*p++ - u'0'), 100000);
    return p;
}

bool startsWith(const char16_t* p, const char16_t* prefix) {
    while (*prefix != 0) {
        if (*p++ != *prefix++) return false;
    }
    return true;
}

const char16_t* parseSize(const char16_t* p, Directive& directive) {
    for (;;) {
        if (startsWith(p, u"I64") || startsWith(p, u"ll")) {
            directive.size = ArgSize::kInt64, p += *p == u'I' ? 3 : 2;
        } else if (startsWith(p, u"I32")) {
            directive.size = ArgSize::kLong, p += 3;
        } else if (*p == u'I') {
            directive.size = ArgSize::kPointer, ++p;
        } else if (startsWith(p, u"hh")) {
            directive.size = ArgSize::kChar, p += 2;
        } else if (*p == u'h') {
            directive.size = ArgSize::kShort, ++p;
        } else if (*p == u'l' || *p == u'w') {
            directive.size = ArgSize::kLong, ++p;
        } else if (*p == u'L' || *p == u'F' || *p == u'N') {
            ++p;  // long double is double on the device; F and N are pointer-size leftovers
        } else {
            return p;
        }
    }
}

// Parses the conversion after "%"; returns the position after it.
const char16_t* parseDirective(const char16_t* p, Directive& directive, ArgList& args) {
    p = parseFlags(p, directive);
    bool fromArgs = false;
    p = parseNumber(p, directive.width, args, fromArgs);
    if (fromArgs && directive.width < 0) directive.left = true, directive.width = -directive.width;
    if (*p == u'.') {
        p = parseNumber(p + 1, directive.precision, args, fromArgs);
        if (directive.precision < 0) directive.precision = -1;
    }
    p = parseSize(p, directive);
    directive.conversion = *p;
    return *p != 0 ? p + 1 : p;
}

// Writes prefix and body padded to the width: spaces on the left or right, or zeros between prefix
// and body when zeroFill.
void emitPadded(std::u16string& out, const Directive& directive, const std::u16string& prefix,
                const std::u16string& body, bool zeroFill) {
    size_t length = prefix.size() + body.size();
    size_t pad =
        directive.width > 0 && static_cast<size_t>(directive.width) > length ? directive.width - length : 0;
    if (!directive.left && !zeroFill) out.append(pad, u' ');
    out += prefix;
    if (!directive.left && zeroFill) out.append(pad, u'0');
    out += body;
    if (directive.left) out.append(pad, u' ');
}

std::u16string widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string digitsOf(ULONGLONG value, unsigned base, bool upper) {
    const char* digitChars = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string digits;
    do {
        digits += static_cast<char16_t>(digitChars[value % base]);
        value /= base;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

bool isSigned(char16_t conversion) {
    return conversion == u'd' || conversion == u'i';
}

ULONGLONG fetchInteger(const Directive& directive, ArgList& args, bool& negative) {
    negative = false;
    if (isSigned(directive.conversion)) {
        LONGLONG value;
        switch (directive.size) {
            case ArgSize::kInt64:
                value = va_arg(args.list, long long);
                break;
            case ArgSize::kPointer:
                value = va_arg(args.list, intptr_t);
                break;
            case ArgSize::kShort:
                value = static_cast<short>(va_arg(args.list, int));
                break;
            case ArgSize::kChar:
                value = static_cast<signed char>(va_arg(args.list, int));
                break;
            default:
                value = va_arg(args.list, int);
                break;
        }
        negative = value < 0;
        return negative ? 0 - static_cast<ULONGLONG>(value) : static_cast<ULONGLONG>(value);
    }
    switch (directive.size) {
        case ArgSize::kInt64:
            return va_arg(args.list, unsigned long long);
        case ArgSize::kPointer:
            return va_arg(args.list, uintptr_t);
        case ArgSize::kShort:
            return static_cast<unsigned short>(va_arg(args.list, unsigned));
        case ArgSize::kChar:
            return static_cast<unsigned char>(va_arg(args.list, unsigned));
        default:
            return va_arg(args.list, unsigned);
    }
}

void formatInteger(std::u16string& out, const Directive& directive, ArgList& args) {
    bool negative = false;
    ULONGLONG value = fetchInteger(directive, args, negative);
    char16_t conv = directive.conversion;
    unsigned base = conv == u'o' ? 8 : (conv == u'x' || conv == u'X') ? 16 : 10;
    std::u16string digits = digitsOf(value, base, conv == u'X');
    if (directive.precision == 0 && value == 0) digits.clear();
    if (directive.precision > 0 && digits.size() < static_cast<size_t>(directive.precision)) {
        digits.insert(0, directive.precision - digits.size(), u'0');
    }
    std::u16string prefix;
    if (isSigned(conv)) {
        if (negative)
            prefix = u"-";
        else if (directive.plus)
            prefix = u"+";
        else if (directive.space)
            prefix = u" ";
    } else if (directive.alternate && base == 16 && value != 0) {
        prefix = conv == u'X' ? u"0X" : u"0x";
    } else if (directive.alternate && base == 8 && (digits.empty() || digits[0] != u'0')) {
        digits.insert(0, 1, u'0');
    }
    emitPadded(out, directive, prefix, digits, directive.zero && !directive.left && directive.precision < 0);
}

// Pads the exponent of "1.5e+05" to the device's three digits ("1.5e+005").
void widenExponent(std::string& text) {
    size_t e = text.find_first_of("eE");
    if (e == std::string::npos || e + 2 >= text.size()) return;
    size_t digits = text.size() - (e + 2);
    if (digits < 3) text.insert(e + 2, 3 - digits, '0');
}

void formatReal(std::u16string& out, const Directive& directive, ArgList& args) {
    double value = va_arg(args.list, double);
    std::string pattern = "%";
    if (directive.plus) pattern += '+';
    if (directive.space) pattern += ' ';
    if (directive.alternate) pattern += '#';
    pattern += "." + std::to_string(directive.precision < 0 ? 6 : directive.precision) +
               static_cast<char>(directive.conversion);
    locale_t previous = uselocale(platform::text::cLocale());
    int length = std::snprintf(nullptr, 0, pattern.c_str(), value);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern.c_str(), value);
    uselocale(previous);
    text.resize(static_cast<size_t>(std::max(length, 0)));
    widenExponent(text);
    std::u16string prefix;
    if (!text.empty() && (text[0] == '-' || text[0] == '+' || text[0] == ' ')) {
        prefix = static_cast<char16_t>(text[0]);
        text.erase(0, 1);
    }
    bool finite = !text.empty() && text[0] >= '0' && text[0] <= '9';
    emitPadded(out, directive, prefix, widen(text), directive.zero && !directive.left && finite);
}

std::u16string narrowToWide(const char* text, size_t length) {
    if (length == 0) return {};
    int needed = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    std::u16string wide(static_cast<size_t>(std::max(needed, 0)), u'\0');
    if (needed > 0) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), needed);
    return wide;
}

bool wantsNarrow(const Directive& directive) {
    bool upper = directive.conversion == u'S' || directive.conversion == u'C';
    if (directive.size == ArgSize::kShort) return true;
    if (directive.size == ArgSize::kLong) return false;
    return upper;
}

void formatCharacter(std::u16string& out, const Directive& directive, ArgList& args) {
    int value = va_arg(args.list, int);
    char narrow = static_cast<char>(value);
    std::u16string body =
        wantsNarrow(directive) ? narrowToWide(&narrow, 1) : std::u16string(1, static_cast<char16_t>(value));
    if (body.empty()) body = std::u16string(1, u'\0');
    emitPadded(out, directive, {}, body, false);
}

void formatText(std::u16string& out, const Directive& directive, ArgList& args) {
    std::u16string body;
    if (wantsNarrow(directive)) {
        const char* text = va_arg(args.list, const char*);
        if (text == nullptr) text = "(null)";
        size_t length = std::strlen(text);
        if (directive.precision >= 0) length = std::min(length, static_cast<size_t>(directive.precision));
        body = narrowToWide(text, length);
    } else {
        const char16_t* text = va_arg(args.list, const char16_t*);
        if (text == nullptr) text = u"(null)";
        size_t length = 0;
        while (text[length] != 0 &&
               (directive.precision < 0 || length < static_cast<size_t>(directive.precision)))
            ++length;
        body.assign(text, length);
    }
    emitPadded(out, directive, {}, body, false);
}

void formatPointer(std::u16string& out, const Directive& directive, ArgList& args) {
    auto value = reinterpret_cast<uintptr_t>(va_arg(args.list, void*));
    std::u16string digits = digitsOf(value, 16, true);
    digits.insert(0, sizeof(void*) * 2 - digits.size(), u'0');
    emitPadded(out, directive, {}, digits, false);
}

void storeCount(const std::u16string& out, const Directive& directive, ArgList& args) {
    if (directive.size == ArgSize::kShort) {
        if (short* target = va_arg(args.list, short*)) *target = static_cast<short>(out.size());
    } else if (directive.size == ArgSize::kInt64) {
        if (long long* target = va_arg(args.list, long long*)) *target = static_cast<long long>(out.size());
    } else if (int* target = va_arg(args.list, int*)) {
        *target = static_cast<int>(out.size());
    }
}

void formatConversion(std::u16string& out, const Directive& directive, ArgList& args) {
    switch (directive.conversion) {
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            formatInteger(out, directive, args);
            break;
        case u'e':
        case u'E':
        case u'f':
        case u'g':
        case u'G':
            formatReal(out, directive, args);
            break;
        case u'c':
        case u'C':
            formatCharacter(out, directive, args);
            break;
        case u's':
        case u'S':
            formatText(out, directive, args);
            break;
        case u'p':
            formatPointer(out, directive, args);
            break;
        case u'n':
            storeCount(out, directive, args);
            break;
        case 0:
            break;
        default:
            out += directive.conversion;
            break;  // "%%" and unknown conversions print the character
    }
}

std::u16string formatWith(const char16_t* format, ArgList& args) {
    std::u16string out;
    if (format == nullptr) return out;
    for (const char16_t* p = format; *p != 0;) {
        if (*p != u'%') {
            out += *p++;
            continue;
        }
        Directive directive;
        p = parseDirective(p + 1, directive, args);
        formatConversion(out, directive, args);
    }
    return out;
}

std::u16string formatList(const char16_t* format, va_list list) {
    ArgList args;
    va_copy(args.list, list);
    std::u16string text = formatWith(format, args);
    va_end(args.list);
    return text;
}

}  // namespace

namespace platform {

std::u16string vformat(const char16_t* format, va_list args) {
    return formatList(format, args);
}

std::u16string format(const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::u16string text = formatList(format, args);
    va_end(args);
    return text;
}

}  // namespace platform

int vswprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args) {
    if (buffer == nullptr || count == 0) return -1;
    std::u16string text = formatList(format, args);
    if (text.size() < count) {
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
        return static_cast<int>(text.size());
    }
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count - 1), buffer);
    buffer[count - 1] = 0;
    return -1;
}

int swprintf(char16_t* buffer, size_t count, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int result = vswprintf(buffer, count, format, args);
    va_end(args);
    return result;
}

int _vsnwprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args) {
    std::u16string text = formatList(format, args);
    if (buffer == nullptr) return count == 0 ? static_cast<int>(text.size()) : -1;
    size_t copied = std::min(text.size(), count);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(copied), buffer);
    if (text.size() < count) buffer[text.size()] = 0;
    return text.size() <= count ? static_cast<int>(text.size()) : -1;
}

int _snwprintf(char16_t* buffer, size_t count, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int result = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return result;
}

int _vscwprintf(const char16_t* format, va_list args) {
    return static_cast<int>(formatList(format, args).size());
}

int _scwprintf(const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int result = _vscwprintf(format, args);
    va_end(args);
    return result;
}
