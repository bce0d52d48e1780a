// Numbers in texts of the store and typed by the user: any UTF-16 text reads as a number without
// undefined behaviour, each reader stopping within the text.
#include <cmath>

#include "Amount.h"
#include "FuzzSupport.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int base = data[0] % 38;  // the C readers' bases, and some they refuse
    std::u16string text = fuzz::unitsOf(data + 1, size - 1);
    const char16_t* begin = text.c_str();
    const char16_t* stop = begin + text.size();
    char16_t* end = nullptr;
    double real = wcstod(begin, &end);
    fuzz::check(end >= begin && end <= stop, "wcstod stops within the text");
    dove::amountFromReal(real * 100);
    wcstol(begin, &end, base);
    fuzz::check(end >= begin && end <= stop, "wcstol stops within the text");
    wcstoul(begin, &end, base);
    fuzz::check(end >= begin && end <= stop, "wcstoul stops within the text");
    _wcstoi64(begin, &end, base);
    fuzz::check(end >= begin && end <= stop, "_wcstoi64 stops within the text");
    _wcstoui64(begin, &end, base);
    fuzz::check(end >= begin && end <= stop, "_wcstoui64 stops within the text");
    double typed = dove::parseTypedAmount(text);
    fuzz::check(!std::isnan(typed), "a typed amount is a number");
    dove::amountFromReal(typed * 100);
    return 0;
}
