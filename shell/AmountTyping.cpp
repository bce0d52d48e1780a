// Amount typing: the typed text's rules and its value.
#include "AmountTyping.h"

namespace shell {
namespace {

// Digits typed after the separator; -1 when the text has none.
int decimalsTyped(const std::u16string& text, char16_t separator) {
    size_t at = text.find(separator);
    return at == std::u16string::npos ? -1 : static_cast<int>(text.size() - at - 1);
}

std::u16string backspace(const std::u16string& text, char16_t separator) {
    if (text.size() <= 1) return u"0";
    // The separator goes with the digit before it: "12." becomes "1", "1." becomes "0".
    size_t remove = text.back() == separator ? 2 : 1;
    if (text.size() <= remove) return u"0";
    return text.substr(0, text.size() - remove);
}

}  // namespace

std::optional<std::u16string> typeAmountKey(const std::u16string& typed, char16_t key, char16_t separator) {
    const std::u16string text = typed.empty() ? u"0" : typed;
    if (key == kTypeClear) return u"0";
    if (key == kTypeBackspace) return backspace(text, separator);
    if (key == u'.' || key == u',') {
        if (text.size() < kTypedAmountLength && decimalsTyped(text, separator) < 0) return text + separator;
        return text;
    }
    if (key < u'0' || key > u'9') return std::nullopt;
    if (text.size() >= kTypedAmountLength || decimalsTyped(text, separator) >= 2) return text;
    if (text == u"0") return std::u16string(1, key);
    return text + key;
}

int64_t typedAmountValue(const std::u16string& text, char16_t separator) {
    int64_t digits = 0;
    for (char16_t c : text)
        if (c >= u'0' && c <= u'9') digits = digits * 10 + (c - u'0');
    // At most 15 characters: the largest value, 15 nines times 100, fits easily.
    switch (decimalsTyped(text, separator)) {
        case 2:
            return digits;
        case 1:
            return digits * 10;
        default:
            return digits * 100;
    }
}

}  // namespace shell
