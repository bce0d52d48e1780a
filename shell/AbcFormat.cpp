// Parsing alphabet-key format texts: the label and letter states, the separator set, the rule for
// a last group without a closing blank, and second-language labels after "^".
#include "AbcFormat.h"

namespace shell {
namespace {

constexpr std::u16string_view kSeparators = u"\r\n\t `!@#$%^&*()_|{}:\"/\\<>?[];',.=";

bool isSlash(char16_t ch) {
    return ch == u'/' || ch == u'\\';
}

void appendGroup(AbcFormat& format, std::u16string& label, std::u16string& filter) {
    std::u16string second;
    size_t caret = label.find(u'^');
    if (caret != std::u16string::npos) {
        second = label.substr(caret + 1);
        label.resize(caret);
    }
    if (!second.empty()) format.hasSecondLanguage = true;
    format.labels.push_back(std::move(label));
    format.secondLabels.push_back(std::move(second));
    format.filters.push_back(std::move(filter));
    label.clear();
    filter.clear();
}

}  // namespace

bool isAbcSeparator(char16_t ch) {
    return kSeparators.find(ch) != std::u16string_view::npos;
}

AbcFormat parseAbcFormat(std::u16string_view text) {
    AbcFormat format;
    std::u16string label;
    std::u16string filter;
    bool inFilter = false;
    for (char16_t ch : text) {
        if (!inFilter) {
            if (isSlash(ch))
                inFilter = true;
            else if (ch != u' ')
                label += ch;
        } else if (ch == u' ') {
            appendGroup(format, label, filter);
            inFilter = false;
        } else if (!isAbcSeparator(ch)) {
            filter += ch;
        }
    }
    if (!label.empty() && !filter.empty()) appendGroup(format, label, filter);
    if (format.valid()) format.text = std::u16string(text);
    return format;
}

}  // namespace shell
