// Parsing alphabet-key formats: the label and letter states, empty groups, the rule for a last group
// without a closing blank, separators left out of the letters, and second-language labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AbcFormat.h"
#include "platform/device.h"

namespace shelltest {
namespace {

using shell::AbcFormat;
using shell::parseAbcFormat;

std::string utf8(const std::u16string& text) {
    return platform::toUtf8(text);
}

struct Group {
    std::u16string label;
    std::u16string second;
    std::u16string filter;
};

struct FormatCase {
    const char* what;
    std::u16string text;
    std::vector<Group> groups;  // empty: invalid
    bool hasSecondLanguage;
};

TEST(AbcFormatTest, ParsesGroupsAsTheTextSaysThem) {
    const FormatCase kCases[] = {
        {"two empty groups before the letters",
         u"/ / ABC/ABC",
         {{u"", u"", u""}, {u"", u"", u""}, {u"ABC", u"", u"ABC"}},
         false},
        {"a second language after ^", u"ABC^абв/ABCабв", {{u"ABC", u"абв", u"ABCабв"}}, true},
        {"no slash: no group", u"ABC", {}, false},
        {"a closing blank keeps an empty filter", u"ABC/ ", {{u"ABC", u"", u""}}, false},
        {"without a closing blank an empty filter drops the group", u"ABC/", {}, false},
        {"a last group without a label is dropped", u"AB/ab /cd", {{u"AB", u"", u"ab"}}, false},
        {"the backslash is a slash too", u"AB\\ab", {{u"AB", u"", u"ab"}}, false},
        {"blanks in a label are dropped", u" A B /ab", {{u"AB", u"", u"ab"}}, false},
        {"separators leave the letters", u"AB/a.b,c;d'e=f!g_h?i", {{u"AB", u"", u"abcdefghi"}}, false},
        {"a second slash is a separator", u"AB/a/b\\c", {{u"AB", u"", u"abc"}}, false},
        {"only blanks end a group", u"AB/ab\tcd\nef", {{u"AB", u"", u"abcdef"}}, false},
        {"an empty second part is no second language", u"AB^/ab", {{u"AB", u"", u"ab"}}, false},
        {"only the first ^ splits", u"A^B^C/abc", {{u"A", u"B^C", u"abc"}}, true},
        {"nothing", u"", {}, false},
        {"only blanks", u"   ", {}, false},
    };
    for (const FormatCase& c : kCases) {
        SCOPED_TRACE(c.what);
        AbcFormat format = parseAbcFormat(c.text);
        ASSERT_EQ(format.groupCount(), static_cast<int>(c.groups.size()));
        EXPECT_EQ(format.valid(), !c.groups.empty());
        EXPECT_EQ(format.hasSecondLanguage, c.hasSecondLanguage);
        for (size_t i = 0; i < c.groups.size(); ++i) {
            EXPECT_EQ(utf8(format.labels[i]), utf8(c.groups[i].label)) << "group " << i;
            EXPECT_EQ(utf8(format.secondLabels[i]), utf8(c.groups[i].second)) << "group " << i;
            EXPECT_EQ(utf8(format.filters[i]), utf8(c.groups[i].filter)) << "group " << i;
        }
        EXPECT_EQ(format.text, c.groups.empty() ? u"" : c.text);
    }
}

TEST(AbcFormatTest, TheSeparatorsAreTheIgnoreSet) {
    const std::u16string kSeparators = u"\r\n\t `!@#$%^&*()_|{}:\"/\\<>?[];',.=";
    for (char16_t ch : kSeparators)
        EXPECT_TRUE(shell::isAbcSeparator(ch)) << static_cast<int>(ch);
    for (char16_t ch : std::u16string(u"aZ09-+~ёЁßÄ"))
        EXPECT_FALSE(shell::isAbcSeparator(ch)) << static_cast<int>(ch);
}

}  // namespace
}  // namespace shelltest
