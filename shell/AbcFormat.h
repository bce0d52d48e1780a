// AbcFormat: an alphabet-key format parsed from its text: for each digit key a label (with an
// optional second language after "^") and the letters the key narrows a list by. The parser is a
// pure function of the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct AbcFormat {
    // The whole text the format was parsed from.
    std::u16string text;
    // Per group, in key order: the first-language label, the second-language label (empty when the
    // label has no "^" part) and the letters of the group.
    std::vector<std::u16string> labels;
    std::vector<std::u16string> secondLabels;
    std::vector<std::u16string> filters;
    // Some label has a non-empty second-language part.
    bool hasSecondLanguage = false;

    int groupCount() const { return static_cast<int>(filters.size()); }
    // A format is valid when it yields at least one group.
    bool valid() const { return !filters.empty(); }
};

// The characters that separate words in names and that a group's letters leave out: CR, LF, TAB,
// blank and `!@#$%^&*()_|{}:"/\<>?[];',.=
bool isAbcSeparator(char16_t ch);

// Parses groups separated by blanks, each a label, a slash ("/" or "\") and its letters. Blanks in a
// label are dropped; separators among the letters are left out. Empty groups ("/" and a blank) count;
// a last group without a closing blank counts only when its label and letters are both non-empty.
// The result holds no groups (and is not valid) when the text yields none.
AbcFormat parseAbcFormat(std::u16string_view text);

}  // namespace shell
