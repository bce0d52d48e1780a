// Parsing command-line values strictly, so that a typing mistake is refused instead of guessed.
#include "ValueParsing.h"

#include <cctype>
#include <limits>

namespace financestore {
namespace {

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (unsigned char c : text)
        if (!std::isdigit(c)) return false;
    return true;
}

// The digits of text from pos for exactly count characters.
std::optional<int> fixedNumber(const std::string& text, size_t pos, size_t count) {
    if (pos + count > text.size()) return std::nullopt;
    std::string part = text.substr(pos, count);
    if (!allDigits(part)) return std::nullopt;
    return std::stoi(part);
}

}  // namespace

std::optional<int32_t> parseInteger(const std::string& text) {
    size_t start = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    std::string digits = text.substr(start);
    if (!allDigits(digits) || digits.size() > 10) return std::nullopt;
    int64_t value = std::stoll(digits);
    if (text[0] == '-') value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<dove::Amount> parseAmount(const std::string& text) {
    size_t start = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    std::string body = text.substr(start);
    const size_t point = body.find('.');
    std::string whole = body.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : body.substr(point + 1);
    if (!allDigits(whole) || (point != std::string::npos && !allDigits(fraction)) || fraction.size() > 2)
        return std::nullopt;
    if (whole.size() > 16) return std::nullopt;
    while (fraction.size() < 2)
        fraction += '0';
    dove::Amount value = std::stoll(whole) * dove::kAmountScale + std::stoll(fraction);
    return start == 1 && text[0] == '-' ? -value : value;
}

std::optional<dove::Date> parseDate(const std::string& text) {
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    if (text[4] != '-' || text[7] != '-') return std::nullopt;
    auto year = fixedNumber(text, 0, 4), month = fixedNumber(text, 5, 2), day = fixedNumber(text, 8, 2);
    std::optional<int> hour = 0, minute = 0, second = 0;
    if (text.size() == 19) {
        if (text[10] != 'T' || text[13] != ':' || text[16] != ':') return std::nullopt;
        hour = fixedNumber(text, 11, 2), minute = fixedNumber(text, 14, 2), second = fixedNumber(text, 17, 2);
    }
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (*year < 1601 || *month < 1 || *month > 12 || *day < 1 || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    SYSTEMTIME fields{};
    fields.wYear = static_cast<WORD>(*year);
    fields.wMonth = static_cast<WORD>(*month);
    fields.wDay = static_cast<WORD>(*day);
    fields.wHour = static_cast<WORD>(*hour);
    fields.wMinute = static_cast<WORD>(*minute);
    fields.wSecond = static_cast<WORD>(*second);
    const dove::Date date = dove::dateFromFields(fields);
    // A day beyond the month's end would roll over; the split must give back the same day.
    if (date == 0 || dove::dateFields(date).wDay != *day) return std::nullopt;
    return date;
}

}  // namespace financestore
