// The mark-up parser: the tags and their look, unknown and broken tags kept as text, and many
// thousands of random texts of tags, broken tags and text against a reference parser written here.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Markup.h"

namespace today {
namespace {

constexpr uint32_t kGrey = markupColour(119, 119, 119);

struct Expected {
    char16_t character;
    uint16_t attributes;
    uint32_t colour;
};

void expectParsed(std::u16string_view text, const std::vector<Expected>& expected) {
    const MarkupText parsed = parseMarkup(text);
    ASSERT_EQ(parsed.size(), expected.size());
    ASSERT_EQ(parsed.attributes.size(), expected.size());
    ASSERT_EQ(parsed.colours.size(), expected.size());
    EXPECT_EQ(parsed.characters.c_str()[parsed.size()], u'\0') << "the characters end with a zero";
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(parsed.characters[i], expected[i].character);
        EXPECT_EQ(parsed.attributes[i], expected[i].attributes);
        EXPECT_EQ(parsed.colours[i], expected[i].colour);
    }
}

TEST(MarkupTest, TheRentBlockGivesFourBoldLettersAndAGreyRule) {
    expectParsed(u"<b>Rent</b><#777777><l></#>", {{u'R', kMarkupBold, kMarkupBlack},
                                                  {u'e', kMarkupBold, kMarkupBlack},
                                                  {u'n', kMarkupBold, kMarkupBlack},
                                                  {u't', kMarkupBold, kMarkupBlack},
                                                  {u'\n', kMarkupRule, kGrey}});
}

TEST(MarkupTest, UnknownAndBrokenTagsStayText) {
    using namespace std::literals;
    const struct {
        std::u16string_view text;
        std::u16string_view characters;
    } cases[] = {
        {u"a<x>b"sv, u"a<x>b"sv},
        {u"a<b"sv, u"a<b"sv},
        {u"</b"sv, u"</b"sv},
        {u"</x>"sv, u"</x>"sv},
        {u"</l>"sv, u"</l>"sv},
        {u"<#12345>x"sv, u"<#12345>x"sv},    // five characters: no colour tag
        {u"<#1234567>"sv, u"<#1234567>"sv},  // seven
        {u"<"sv, u"<"sv},
        {u"<<b>>"sv, u"<>"sv},
        {u"<bb>"sv, u"<bb>"sv},
        {u"stop\0here"sv, u"stop"sv},  // the text ends at its first zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.text)));
        EXPECT_EQ(parseMarkup(c.text).characters, c.characters);
    }
}

TEST(MarkupTest, TagsInEitherCaseSetAndClearOnlyTheirOwnBit) {
    expectParsed(u"<B><i>a<U>b</b>c<S></I>d</u></s>e",
                 {{u'a', kMarkupBold | kMarkupItalic, 0},
                  {u'b', kMarkupBold | kMarkupItalic | kMarkupUnderline, 0},
                  {u'c', kMarkupItalic | kMarkupUnderline, 0},
                  {u'd', kMarkupUnderline | kMarkupStrikeOut, 0},
                  {u'e', 0, 0}});
}

TEST(MarkupTest, ColourTagsReadSixCharactersAsRedGreenBlue) {
    expectParsed(u"<#FF8000>a<#00ff7f><L>b</#>c<#12zz56>d<#ZZZZZZ>e",
                 {{u'a', 0, markupColour(0xFF, 0x80, 0x00)},
                  {u'\n', kMarkupRule, markupColour(0x00, 0xFF, 0x7F)},
                  {u'b', 0, markupColour(0x00, 0xFF, 0x7F)},
                  {u'c', 0, kMarkupBlack},
                  {u'd', 0, markupColour(0, 0, 0x12)},  // the number ends at the first non-digit
                  {u'e', 0, kMarkupBlack}});
}

TEST(MarkupTest, ARuleCarriesTheStylesInForce) {
    expectParsed(u"<b><i><l>", {{u'\n', kMarkupBold | kMarkupItalic | kMarkupRule, 0}});
}

// ---- The reference ------------------------------------------------------------------------------

// A second reading of the mark-up, written apart from the parser: at each "<" it tries the tag forms
// as whole lower-cased strings.
MarkupText referenceParse(std::u16string text) {
    text = text.substr(0, text.find(u'\0'));
    auto lowered = [](std::u16string s) {
        for (char16_t& c : s)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        return s;
    };
    const std::u16string styles = u"biusXX";  // bit i for styles[i]
    MarkupText out;
    uint16_t attributes = 0;
    uint32_t colour = 0;
    size_t i = 0;
    auto emit = [&](char16_t c, uint16_t a) {
        out.characters += c;
        out.attributes.push_back(a);
        out.colours.push_back(colour);
    };
    while (i < text.size()) {
        const std::u16string four = lowered(text.substr(i, 4)), three = lowered(text.substr(i, 3));
        bool matched = false;
        for (size_t s = 0; s < 4 && !matched; ++s) {
            if (four == std::u16string(u"</") + styles[s] + u">") {
                attributes = static_cast<uint16_t>(attributes & ~(1u << s)), i += 4, matched = true;
            } else if (three == std::u16string(u"<") + styles[s] + u">") {
                attributes = static_cast<uint16_t>(attributes | (1u << s)), i += 3, matched = true;
            }
        }
        if (matched) continue;
        if (four == u"</#>") {
            colour = 0, i += 4;
        } else if (three == u"<l>") {
            emit(u'\n', static_cast<uint16_t>(attributes | kMarkupRule)), i += 3;
        } else if (text.compare(i, 2, u"<#") == 0 && i + 8 < text.size() && text[i + 8] == u'>') {
            std::string digits;
            for (size_t k = i + 2; k < i + 8 && std::isxdigit(text[k] < 128 ? static_cast<int>(text[k]) : 0);
                 ++k)
                digits += static_cast<char>(text[k]);
            const unsigned long value = digits.empty() ? 0 : std::stoul(digits, nullptr, 16);
            colour = markupColour(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value));
            i += 9;
        } else {
            emit(text[i], attributes), ++i;
        }
    }
    return out;
}

std::u16string randomText(std::mt19937& random) {
    static const std::vector<std::u16string> pieces = {
        u"<b>",       u"</b>",      u"<I>",       u"</i>",   u"<u>",        u"</U>",
        u"<s>",       u"</S>",      u"<l>",       u"<L>",    u"</#>",       u"<#777777>",
        u"<#a0B1c2>", u"<#zz0011>", u"<#>>>>>>>", u"<#123>", u"<#1234567>", u"<",
        u"</",        u"<b",        u"</x>",      u"<x>",    u"</l>",       u">",
        u"<<",        u"a",         u"Rent",      u" ",      u"\n",         u"\r",
        u"Счет",      u"#",         u"/",         u"\u00e9", u"\U0001F600", std::u16string(1, u'\0'),
    };
    std::uniform_int_distribution<size_t> count(0, 24), pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> letter(0x20, 0x7E);
    std::u16string text;
    for (size_t n = count(random); n > 0; --n) {
        const size_t p = pick(random);
        // A piece is sometimes cut short, leaving a broken tag.
        text += random() % 8 == 0 ? pieces[p].substr(0, random() % (pieces[p].size() + 1)) : pieces[p];
        if (random() % 4 == 0) text += static_cast<char16_t>(letter(random));
    }
    return text;
}

TEST(MarkupTest, RandomTextsParseAsTheReferenceReadsThem) {
    std::mt19937 random(20260116);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text = randomText(random);
        const MarkupText parsed = parseMarkup(text);
        const MarkupText expected = referenceParse(text);
        ASSERT_EQ(parsed, expected) << "round " << round;
        ASSERT_EQ(parsed.attributes.size(), parsed.size());
        ASSERT_EQ(parsed.colours.size(), parsed.size());
    }
}

}  // namespace
}  // namespace today
