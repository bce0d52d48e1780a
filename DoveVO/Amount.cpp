// Amount rounding, number text with grouping, fixed-point text and typed-amount parsing.
#include "Amount.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "RegionalSettings.h"

namespace dove {
namespace {

std::u16string decimalDigits(uint64_t value, int minDigits) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    while (static_cast<int>(digits.size()) < minDigits)
        digits.insert(digits.begin(), u'0');
    return digits;
}

std::u16string grouped(const std::u16string& digits, char16_t separator) {
    std::u16string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

}  // namespace

Amount amountFromReal(double value) {
    // A real beyond the amount's range (or not a number, from a broken rate) must not reach the integer
    // conversion, whose result would be undefined: it is held at the range's ends, NaN at 0.
    if (std::isnan(value)) return 0;
    double rounded = std::trunc(value > 0 ? value + 0.5 : value - 0.5);
    if (rounded >= 9223372036854775807.0) return INT64_MAX;
    if (rounded <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<Amount>(rounded);
}

bool amountFromRealInRange(double value, Amount& amount) {
    if (std::isnan(value)) return false;
    const double rounded = std::trunc(value > 0 ? value + 0.5 : value - 0.5);
    // 2^63 is exact in a double; every double below it converts.
    if (rounded >= 9223372036854775808.0 || rounded < -9223372036854775808.0) return false;
    amount = static_cast<Amount>(rounded);
    return true;
}

bool addAmounts(Amount a, Amount b, Amount& result) {
    Amount sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return false;
    result = sum;
    return true;
}

bool subtractAmounts(Amount a, Amount b, Amount& result) {
    Amount difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) return false;
    result = difference;
    return true;
}

std::u16string numberText(Amount amount, bool omitZeroHundredths) {
    const RegionalSettings& rs = regionalSettings();
    // The magnitude is taken unsigned so that the most negative amount has one too.
    uint64_t magnitude = amount < 0 ? 0 - static_cast<uint64_t>(amount) : static_cast<uint64_t>(amount);
    uint64_t units = magnitude / kAmountScale;
    uint64_t hundredths = magnitude % kAmountScale;
    std::u16string text = amount < 0 ? u"-" : u"";
    text += grouped(decimalDigits(units, 1), rs.thousandsSeparator);
    if (!(omitZeroHundredths && hundredths == 0)) {
        text += rs.decimalSeparator;
        text += decimalDigits(hundredths, 2);
    }
    return text;
}

std::u16string fixedText(double value, int decimals, char16_t decimalChar) {
    // to_chars writes "." whatever the process locale says, as the "%.2f" form of the C locale does.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::u16string text;
    bool replaced = false;
    for (const char* p = buffer; p != result.ptr; ++p) {
        char16_t c = static_cast<unsigned char>(*p);
        if (c == u'.' && !replaced) {
            c = decimalChar;
            replaced = true;
        }
        text += c;
    }
    return text;
}

double parseTypedAmount(const std::u16string& text) {
    size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) return 0;
    size_t last = text.find_last_not_of(u' ');
    static const std::u16string kKept = u"-0123456789";
    static const std::u16string kPoints = u"=',.;@|\\";
    std::string compact;
    bool pointSeen = false;
    for (size_t i = last + 1; i-- > first;) {
        char16_t c = text[i];
        if (kKept.find(c) != std::u16string::npos) {
            compact.insert(compact.begin(), static_cast<char>(c));
        } else if (!pointSeen && kPoints.find(c) != std::u16string::npos) {
            compact.insert(compact.begin(), '.');
            pointSeen = true;
        }
    }
    // The longest leading part that forms a number counts ("12-3" reads 12), read with "." as the
    // point whatever the process locale is.
    double value = 0;
    const char* begin = compact.c_str();
    if (std::from_chars(begin, begin + compact.size(), value, std::chars_format::fixed).ec != std::errc())
        return 0;
    return value;
}

}  // namespace dove
