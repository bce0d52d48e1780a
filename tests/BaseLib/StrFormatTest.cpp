// Str's formatting: the device conversions through the length bound, arguments that point into the
// string itself, and results far shorter or longer than a typical bound.
#include <gtest/gtest.h>

#include <string>

#include "Str.h"

namespace {

std::u16string text(const Str& s) {
    return std::u16string(s.c_str(), static_cast<size_t>(s.length()));
}

TEST(StrFormat, DeviceConversionsWithSizesAndStarWidths) {
    Str s;
    ASSERT_TRUE(s.format(u"%I64d|%I64u|%I64x", -9223372036854775807LL - 1, 18446744073709551615ULL,
                         0x123456789abcdefLL));
    EXPECT_EQ(text(s), u"-9223372036854775808|18446744073709551615|123456789abcdef");
    ASSERT_TRUE(s.format(u"[%*d][%-*d][%.*s][%*s]", 6, 42, 5, 7, 3, u"abcdef", -4, u"x"));
    EXPECT_EQ(text(s), u"[    42][7    ][abc][x   ]");
    ASSERT_TRUE(s.format(u"%s %S %c %C %hs %ls %%", u"жук", "narrow", u'Ё', 'n', "h", u"l"));
    EXPECT_EQ(text(s), u"жук narrow Ё n h l %");
    ASSERT_TRUE(s.format(u"%05.1f %e %G %o %#X %hd %ld", 3.14159, 1500.0, 0.5, 8, 255, 70000, 7L));
    EXPECT_EQ(text(s), u"003.1 1.500000e+003 0.5 10 0XFF 4464 7");
}

TEST(StrFormat, WideResultsGetTheirWholeText) {
    Str s;
    ASSERT_TRUE(s.format(u"%f", 1e300));
    EXPECT_EQ(s.length(), 301 + 7);
    ASSERT_TRUE(s.format(u"%*d|", 100000, 1));
    EXPECT_EQ(s.length(), 100001);
    EXPECT_EQ(s[99999], u'1');
    ASSERT_TRUE(s.format(u"%.300d", 5));
    EXPECT_EQ(s.length(), 300);
}

TEST(StrFormat, ShortResultsFitTheirSizeClass) {
    Str s;
    ASSERT_TRUE(s.format(u"%.2f", 2.5));
    EXPECT_EQ(text(s), u"2.50");
    EXPECT_EQ(inspectStr(s).capacity, 64);
}

TEST(StrFormat, ArgumentsMayBeTheStringItself) {
    Str s(u"abc");
    Str copy = s;
    ASSERT_TRUE(s.format(u"%s-%s-%d", s.c_str(), s.c_str() + 1, s.length()));
    EXPECT_EQ(text(s), u"abc-bc-3");
    EXPECT_EQ(text(copy), u"abc");
}

TEST(StrFormat, EmptyFormatsAndResultsGiveTheSharedEmptyString) {
    Str s(u"old");
    ASSERT_TRUE(s.format(u""));
    EXPECT_EQ(s.c_str(), Str().c_str());
    s = u"old";
    ASSERT_TRUE(s.format(nullptr));
    EXPECT_TRUE(s.isEmpty());
    int count = -1;
    ASSERT_TRUE(s.format(u"%s%n", u"", &count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(s.c_str(), Str().c_str());
    EXPECT_EQ(text(Str::formatted(u"%d items", 3)), u"3 items");
}

}  // namespace
