// The typed filter's matching rule: the worked examples, names in Cyrillic with Ё and ё, and a
// randomized comparison with a plain reference (a word that begins with one letter of each entry).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "AbcFormat.h"
#include "TypedFilter.h"
#include "platform/device.h"

namespace shelltest {
namespace {

using shell::lowerText;
using shell::matchesTypedFilter;
using shell::TypedFilter;

bool matches(const std::u16string& name, const std::vector<std::u16string>& keys) {
    TypedFilter filter;
    for (const std::u16string& key : keys)
        filter.append(key);
    return filter.matches(lowerText(name));
}

struct MatchCase {
    std::vector<std::u16string> keys;  // as the keys' groups or typed letters give them
    std::u16string name;
    bool matches;
};

TEST(TypedFilterTest, ANameMatchesWhenOneOfItsWordsBeginsWithTheTypedGroupsInOrder) {
    const std::vector<std::u16string> defMno{u"DEF", u"MNO"};
    const std::vector<std::u16string> abcDef{u"ABC", u"DEF"};
    const MatchCase kCases[] = {
        {defMno, u"Food", true},
        {defMno, u"Dog", true},
        {defMno, u"Tax domain", true},
        {defMno, u"Video", false},
        {defMno, u"Tax deduction", false},
        {abcDef, u"Big Cat", false},
        {abcDef, u"Ad", true},
        {abcDef, u"a", false},
        {{u"ABC"}, u"", false},
        {{}, u"", true},
        {{}, u"Anything", true},
        {{u"j", u"o"}, u"Trader Joe's", true},
        {{u"c"}, u"[Checking]", true},
        {{u"s", u"m"}, u"Dr. Smith", true},
        {{u"GHI", u"MNO", u"TUV"}, u"Home:Utilities", false},
        {{u"TUV", u"TUV"}, u"Home:Utilities", true},
        {{u"d"}, u"Ad-hoc", false},  // "-" does not separate words
        {{u"PQRS", u"TUV"}, u"Trader Joe's", false},
    };
    for (const MatchCase& c : kCases) {
        std::string keys;
        for (const std::u16string& key : c.keys)
            keys += platform::toUtf8(key) + " ";
        EXPECT_EQ(matches(c.name, c.keys), c.matches) << platform::toUtf8(c.name) << " / " << keys;
    }
}

TEST(TypedFilterTest, CyrillicNamesMatchWithTheirCaseFoldedAndЁKeptApartFromЕ) {
    // The Russian layout's third key holds ДЕЁЖЗ; the English-and-Russian layout's second key дежз.
    const MatchCase kCases[] = {
        {{u"ДЕЁЖЗ"}, u"Ёлки-палки", true},
        {{u"ДЕЁЖЗ"}, u"ёжик", true},
        {{u"ДЕЁЖЗ", u"ИЙКЛ"}, u"Ёлка", true},
        {{u"дежз"}, u"Ёлка", false},
        {{u"дежз"}, u"Елка", true},
        {{u"МНОП", u"АБВГ"}, u"Магнит", true},
        {{u"МНОП", u"АБВГ"}, u"Пятёрочка", false},
        {{u"МНОП", u"ДЕЁЖЗ"}, u"Перекрёсток", true},
        {{u"ё"}, u"Перекрёсток", false},
        {{u"ё"}, u"Новый ЁЖ", true},
        {{u"ABCабвг"}, u"Азбука вкуса", true},
        {{u"ABCабвг", u"ABCабвг"}, u"Азбука вкуса", false},
        {{u"ABCабвг", u"ИЙКЛ"}, u"Азбука вкуса", true},
    };
    for (const MatchCase& c : kCases)
        EXPECT_EQ(matches(c.name, c.keys), c.matches) << platform::toUtf8(c.name);
    EXPECT_EQ(lowerText(u"ЁЛКА ÄÖÜ"), u"ёлка äöü");
}

TEST(TypedFilterTest, EntriesAreAddedInLowerCaseAndRemovedFromTheEnd) {
    TypedFilter filter;
    EXPECT_FALSE(filter.removeLast());
    EXPECT_FALSE(filter.clear());
    filter.append(u"ABC");
    filter.append(u"Ё");
    ASSERT_EQ(filter.size(), 2);
    EXPECT_EQ(filter.entries()[0], u"abc");
    EXPECT_EQ(filter.entries()[1], u"ё");
    EXPECT_TRUE(filter.removeLast());
    EXPECT_EQ(filter.size(), 1);
    EXPECT_TRUE(filter.clear());
    EXPECT_TRUE(filter.empty());
}

// The rule stated plainly: some word (between separators) is at least as long as the filter and its
// i-th letter belongs to entry i.
bool referenceMatch(const std::u16string& name, const std::vector<std::u16string>& entries) {
    if (entries.empty()) return true;
    std::u16string lowered = lowerText(name);
    std::vector<std::u16string> words(1);
    for (char16_t ch : lowered) {
        if (shell::isAbcSeparator(ch))
            words.emplace_back();
        else
            words.back() += ch;
    }
    for (const std::u16string& word : words) {
        if (word.size() < entries.size()) continue;
        bool all = true;
        for (size_t i = 0; i < entries.size() && all; ++i)
            all = entries[i].find(word[i]) != std::u16string::npos;
        if (all) return true;
    }
    return false;
}

TEST(TypedFilterTest, AgreesWithThePlainRuleOverRandomNamesAndKeys) {
    const std::vector<std::u16string> kGroups = {
        u"ABC",   u"DEF",  u"GHI",  u"JKL",  u"MNO",  u"PQRS", u"TUV",  u"WXYZ",    u"АБВГ",
        u"ДЕЁЖЗ", u"ИЙКЛ", u"МНОП", u"РСТУ", u"ФХЦЧ", u"ШЩЪЫ", u"ЬЭЮЯ", u"ABCабвг", u"DEFдеёжз"};
    const std::u16string kLetters =
        u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
        u"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    const std::u16string kSeparators = u" .,:'-()[]";
    std::mt19937 random(20250311);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    int matched = 0;
    for (int round = 0; round < 5000; ++round) {
        std::u16string name;
        for (size_t length = pick(14); length > 0; --length)
            name += pick(5) == 0 ? kSeparators[pick(kSeparators.size())] : kLetters[pick(kLetters.size())];
        std::vector<std::u16string> keys;
        TypedFilter filter;
        for (size_t count = pick(4); count > 0; --count) {
            std::u16string key = pick(3) == 0 ? std::u16string(1, kLetters[pick(kLetters.size())])
                                              : kGroups[pick(kGroups.size())];
            filter.append(key);
            keys.push_back(lowerText(key));
        }
        bool expected = referenceMatch(name, keys);
        matched += expected ? 1 : 0;
        ASSERT_EQ(matchesTypedFilter(lowerText(name), filter.entries()), expected)
            << platform::toUtf8(name) << " with " << keys.size() << " entries, round " << round;
    }
    // Both outcomes occur often enough for the comparison to mean something.
    EXPECT_GT(matched, 500);
    EXPECT_LT(matched, 4500);
}

}  // namespace
}  // namespace shelltest
