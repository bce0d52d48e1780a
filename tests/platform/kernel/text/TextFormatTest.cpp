// The device's printf-style formatting on UTF-16: conversions, flags, sizes and buffer limits.
#include <gtest/gtest.h>

#include <clocale>

#include "platform/text.h"
#include "platform/winnls.h"

namespace {

using platform::format;

struct FormatCase {
    std::u16string expected;
    std::u16string actual;
};

TEST(TextFormat, Integers) {
    const FormatCase cases[] = {
        {u"42", format(u"%d", 42)},
        {u"-42", format(u"%i", -42)},
        {u"  42", format(u"%4d", 42)},
        {u"42  |", format(u"%-4d|", 42)},
        {u"0042", format(u"%04d", 42)},
        {u"-042", format(u"%04d", -42)},
        {u"+42", format(u"%+d", 42)},
        {u" 42", format(u"% d", 42)},
        {u"  007", format(u"%5.3d", 7)},
        {u"", format(u"%.0d", 0)},
        {u"4294967295", format(u"%u", -1)},
        {u"ff FF 0xff 0XFF", format(u"%x %X %#x %#X", 255, 255, 255, 255)},
        {u"17 017 0", format(u"%o %#o %#o", 15, 15, 0)},
        {u"-1", format(u"%ld", -1L)},
        {u"-1", format(u"%hd", 0xFFFF)},
        {u"65535", format(u"%hu", 0xFFFF)},
        {u"   42", format(u"%*d", 5, 42)},
        {u"42   |", format(u"%*d|", -5, 42)},
        {u"  042", format(u"%*.*d", 5, 3, 42)},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

TEST(TextFormat, SixtyFourBitIntegers) {
    EXPECT_EQ(u"-9223372036854775808", format(u"%I64d", INT64_MIN));
    EXPECT_EQ(u"18446744073709551615", format(u"%I64u", UINT64_MAX));
    EXPECT_EQ(u"-1234567890123", format(u"%I64d", -1234567890123LL));
    EXPECT_EQ(u"05", format(u"%02I64d", 5LL));
    EXPECT_EQ(u"-5", format(u"%02I64d", -5LL));
    EXPECT_EQ(u"123", format(u"%02I64d", 123LL));
    EXPECT_EQ(u"12345.07", format(u"%I64d.%02I64d", 12345LL, 7LL));
    EXPECT_EQ(u"ffffffffffffffff", format(u"%I64x", -1LL));
    EXPECT_EQ(u"-7 8", format(u"%lld %I32d", -7LL, 8));
}

TEST(TextFormat, TextAndCharacters) {
    EXPECT_EQ(u"wide narrow", format(u"%s %S", u"wide", "narrow"));
    EXPECT_EQ(u"wide narrow", format(u"%ls %hs", u"wide", "narrow"));
    EXPECT_EQ(u"Привет", format(u"%s", u"Привет"));
    EXPECT_EQ(u"  abc|abc  |ab", format(u"%5s|%-5s|%.2s", u"abc", u"abc", u"abcdef"));
    EXPECT_EQ(u"ab", format(u"%.*s", 2, u"abcdef"));
    EXPECT_EQ(u"(null)", format(u"%s", static_cast<const char16_t*>(nullptr)));
    EXPECT_EQ(u"Ж x y", format(u"%c %C %hc", u'Ж', 'x', 'y'));
    EXPECT_EQ(u"  Ж", format(u"%3c", u'Ж'));
    EXPECT_EQ(u"100%", format(u"%d%%", 100));
    EXPECT_EQ(u"", format(u""));
    EXPECT_EQ(u"", format(nullptr));
}

TEST(TextFormat, RealsUseThePointAndThreeDigitExponents) {
    EXPECT_EQ(u"3.14", format(u"%.2f", 3.14159));
    EXPECT_EQ(u"0.1000000000", format(u"%.10f", 0.1));
    EXPECT_EQ(u"-2.50", format(u"%.2f", -2.5));
    EXPECT_EQ(u"  1.5|1.5  |001.5", format(u"%5.1f|%-5.1f|%05.1f", 1.5, 1.5, 1.5));
    EXPECT_EQ(u"-01.5", format(u"%05.1f", -1.5));
    EXPECT_EQ(u"+1.000000", format(u"%+f", 1.0));
    EXPECT_EQ(u"1.500000e+003 1.5E-007", format(u"%e %.1E", 1500.0, 1.5e-7));
    EXPECT_EQ(u"0.0001 1e+010", format(u"%g %g", 0.0001, 1e10));
    EXPECT_EQ(u"1.000000", format(u"%Lf", 1.0));
    // The process locale's decimal comma must not leak into the device's formatting.
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous != nullptr ? previous : "C";
    if (setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(u"1234.50", format(u"%.2f", 1234.5));
        setlocale(LC_NUMERIC, saved.c_str());
    }
}

TEST(TextFormat, PointerAndCount) {
    int count = 0;
    EXPECT_EQ(u"abc", format(u"abc%n", &count));
    EXPECT_EQ(3, count);
    std::u16string pointer = format(u"%p", reinterpret_cast<void*>(0xAB));
    EXPECT_EQ(sizeof(void*) * 2, pointer.size());
    EXPECT_EQ(u"AB", pointer.substr(pointer.size() - 2));
}

TEST(TextFormat, SwprintfFitsOrFails) {
    char16_t buffer[8];
    EXPECT_EQ(5, swprintf(buffer, 8, u"%d", 12345));
    EXPECT_EQ(u"12345", std::u16string(buffer));
    EXPECT_EQ(-1, swprintf(buffer, 4, u"%d", 12345));
    EXPECT_EQ(u"123", std::u16string(buffer));
    EXPECT_EQ(-1, swprintf(buffer, 5, u"%s", u"abcde"));
    EXPECT_EQ(u"abcd", std::u16string(buffer));
}

TEST(TextFormat, SnwprintfFollowsTheDevice) {
    char16_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(3, _snwprintf(buffer, 6, u"%s", u"abc"));
    EXPECT_EQ(u"abc", std::u16string(buffer));
    // Exactly count characters: written without terminator, length returned.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(5, _snwprintf(buffer, 5, u"%s", u"abcde"));
    EXPECT_EQ(u"abcde#", std::u16string(buffer, 6));
    // Longer: cut at count, no terminator, -1.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(-1, _snwprintf(buffer, 3, u"%s", u"abcdef"));
    EXPECT_EQ(u"abc###", std::u16string(buffer, 6));
    EXPECT_EQ(6, _scwprintf(u"%s%d", u"abc", 123));
}

}  // namespace
