// Alphabet-key formats, read as Dashel reads them: the bytes as a personal format (UTF-16 without a
// mark) and, when they start with the byte-order mark, as a built-in "ABC" resource. Any text gives
// groups that a simple reference split finds too, that keep the letters the rules keep, and that come
// back the same when written out again and parsed.
#include <algorithm>
#include <string>

#include "AbcFormat.h"
#include "FuzzSupport.h"

namespace {

using shell::AbcFormat;

bool isSlash(char16_t ch) {
    return ch == u'/' || ch == u'\\';
}

// The reference: each group runs from its first character to the first slash, then to the next blank;
// the label keeps what is not a blank, the letters what is not a separator. A last group without its
// blank counts only when both parts are non-empty (an empty one there is what the rules forbid).
AbcFormat referenceSplit(const std::u16string& text) {
    AbcFormat format;
    size_t start = 0;
    while (start < text.size()) {
        const size_t slash = text.find_first_of(u"/\\", start);
        if (slash == std::u16string::npos) break;
        const size_t blank = text.find(u' ', slash + 1);
        std::u16string label, letters;
        for (size_t i = start; i < slash; ++i)
            if (text[i] != u' ') label += text[i];
        for (size_t i = slash + 1; i < std::min(blank, text.size()); ++i)
            if (!shell::isAbcSeparator(text[i])) letters += text[i];
        if (blank == std::u16string::npos && (label.empty() || letters.empty())) break;
        const size_t caret = label.find(u'^');
        format.labels.push_back(label.substr(0, caret));
        format.secondLabels.push_back(caret == std::u16string::npos ? u"" : label.substr(caret + 1));
        format.filters.push_back(letters);
        if (blank == std::u16string::npos) break;
        start = blank + 1;
    }
    return format;
}

// The format written out again: every group as label, "^" and second label when there is one, "/",
// letters and a blank.
std::u16string written(const AbcFormat& format) {
    std::u16string text;
    for (int g = 0; g < format.groupCount(); ++g) {
        const size_t i = static_cast<size_t>(g);
        text += format.labels[i];
        if (!format.secondLabels[i].empty()) text += u"^" + format.secondLabels[i];
        text += u"/" + format.filters[i] + u" ";
    }
    return text;
}

void checkFormat(const std::u16string& text) {
    const AbcFormat format = shell::parseAbcFormat(text);
    const size_t groups = format.filters.size();
    fuzz::check(format.labels.size() == groups && format.secondLabels.size() == groups,
                "a label and a second label for each group");
    fuzz::check(format.valid() == (groups > 0), "valid exactly when there is a group");
    fuzz::check(format.text == (format.valid() ? text : std::u16string()),
                "a valid format keeps its whole text, an invalid one none");
    size_t slashes = 0;
    for (char16_t ch : text)
        slashes += isSlash(ch) ? 1 : 0;
    fuzz::check(groups <= slashes, "every group has its slash");
    bool second = false;
    for (size_t g = 0; g < groups; ++g) {
        for (char16_t ch : format.filters[g])
            fuzz::check(!shell::isAbcSeparator(ch), "no separator among a group's letters");
        for (char16_t ch : format.labels[g])
            fuzz::check(ch != u' ' && !isSlash(ch) && ch != u'^', "no blank, slash or caret in a label");
        for (char16_t ch : format.secondLabels[g])
            fuzz::check(ch != u' ' && !isSlash(ch), "no blank or slash in a second label");
        second = second || !format.secondLabels[g].empty();
    }
    fuzz::check(format.hasSecondLanguage == second, "the second-language flag says whether one is there");
    const AbcFormat reference = referenceSplit(text);
    fuzz::check(format.labels == reference.labels && format.secondLabels == reference.secondLabels &&
                    format.filters == reference.filters,
                "the groups the reference split finds");
    const AbcFormat again = shell::parseAbcFormat(written(format));
    fuzz::check(again.labels == format.labels && again.secondLabels == format.secondLabels &&
                    again.filters == format.filters && again.hasSecondLanguage == format.hasSecondLanguage,
                "the groups written out parse the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string units = fuzz::unitsOf(data, size);
    checkFormat(units);
    // A built-in resource: at least 4 bytes, the mark first, the format after it.
    if (size >= 4 && units[0] == 0xFEFF) checkFormat(units.substr(1));
    return 0;
}
