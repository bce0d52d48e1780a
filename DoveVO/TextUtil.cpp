// Small text helpers of the data code.
#include "TextUtil.h"

namespace dove {

std::u16string trimmed(const std::u16string& text) {
    size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string::npos) return {};
    size_t last = text.find_last_not_of(u" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace dove
