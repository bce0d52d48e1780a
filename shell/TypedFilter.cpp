// The typed filter's entries and the matching walk over a name's words.
#include "TypedFilter.h"

#include "AbcFormat.h"
#include "platform/text.h"

namespace shell {

std::u16string lowerText(std::u16string_view text) {
    std::u16string lowered(text);
    for (char16_t& ch : lowered)
        ch = towlower(ch);
    return lowered;
}

bool matchesTypedFilter(std::u16string_view name, const std::vector<std::u16string>& entries) {
    if (entries.empty()) return true;
    const size_t last = entries.size() - 1;
    size_t p = 0;  // the entry the next letter of the word must come from
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t ch = name[i];
        if (isAbcSeparator(ch)) {
            p = 0;
        } else if (entries[p].find(ch) != std::u16string::npos) {
            if (p == last) return true;
            ++p;
        } else {
            // The word cannot match: go on after its end.
            while (i + 1 < name.size() && !isAbcSeparator(name[i + 1]))
                ++i;
            p = 0;
        }
    }
    return false;
}

void TypedFilter::append(std::u16string_view letters) {
    m_entries.push_back(lowerText(letters));
}

bool TypedFilter::removeLast() {
    if (m_entries.empty()) return false;
    m_entries.pop_back();
    return true;
}

bool TypedFilter::clear() {
    if (m_entries.empty()) return false;
    m_entries.clear();
    return true;
}

}  // namespace shell
