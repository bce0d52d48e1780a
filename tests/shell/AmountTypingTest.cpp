// Typing an amount on the field panel: the typed text after each key and the amount it stands for, with
// "." and with "," as the locale's separator.
#include <gtest/gtest.h>

#include "AmountTyping.h"

namespace shelltest {
namespace {

using shell::typeAmountKey;
using shell::typedAmountValue;

// Types keys on an empty text; "<" is backspace, "C" clear, "x" a character that is no key.
std::u16string typed(const std::u16string& keys, char16_t separator) {
    std::u16string text;
    for (char16_t key : keys) {
        const char16_t code = key == u'<' ? shell::kTypeBackspace : key == u'C' ? shell::kTypeClear : key;
        std::optional<std::u16string> next = typeAmountKey(text, code, separator);
        if (next) text = *next;
    }
    return text;
}

TEST(AmountTypingTest, KeysBuildTheTextAndItsValue) {
    struct Case {
        const char16_t* keys;
        const char16_t* text;  // with "." as the separator
        int64_t value;
    };
    const Case kCases[] = {
        {u"12.5", u"12.5", 1250},
        {u".555", u"0.55", 55},  // two digits after the point at most
        {u"12.<", u"1", 100},    // the point goes with the digit before it
        {u"1.<", u"0", 0},
        {u"0.<", u"0", 0},
        {u"12.34<", u"12.3", 1230},
        {u"7<", u"0", 0},
        {u"<<", u"0", 0},
        {u"007", u"7", 700},  // a lone 0 is replaced
        {u"0.07", u"0.07", 7},
        {u"3.", u"3.", 300},
        {u"3..5", u"3.5", 350},  // one point only
        {u"3,5", u"3.5", 350},   // "," is the point too
        {u"45C", u"0", 0},
        {u"45C6", u"6", 600},
        {u"4x5", u"45", 4500},
        {u"", u"", 0},
        {u"123456789012345", u"123456789012345", 12345678901234500},
        {u"1234567890123456", u"123456789012345", 12345678901234500},  // 15 characters at most
        {u"12345678901234.5", u"12345678901234.", 1234567890123400},
        {u"1234567890123.45", u"1234567890123.4", 123456789012340},
        {u"123456789012345.", u"123456789012345", 12345678901234500},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.keys, c.keys + std::char_traits<char16_t>::length(c.keys)));
        const std::u16string text = typed(c.keys, u'.');
        EXPECT_TRUE(text == c.text);
        EXPECT_EQ(typedAmountValue(text, u'.'), c.value);
        // The same keys with "," as the locale's separator: the same amount.
        std::u16string comma = c.text;
        for (char16_t& ch : comma)
            if (ch == u'.') ch = u',';
        EXPECT_TRUE(typed(c.keys, u',') == comma);
        EXPECT_EQ(typedAmountValue(comma, u','), c.value);
    }
}

TEST(AmountTypingTest, OnlyTheKeysOfTypingAreTaken) {
    for (char16_t other : {u'a', u'-', u'+', u' ', u'\r', char16_t{0}})
        EXPECT_FALSE(typeAmountKey(u"12", other, u'.').has_value());
    EXPECT_TRUE(typeAmountKey(u"12", u'3', u'.') == u"123");
}

}  // namespace
}  // namespace shelltest
