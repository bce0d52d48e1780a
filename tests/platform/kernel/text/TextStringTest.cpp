// The C wide-string functions on UTF-16, number reading and writing, and case mapping.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

#include "platform/device.h"
#include "platform/text.h"

namespace {

TEST(TextString, LengthCompareCopy) {
    const WCHAR* text = u"Счёт";
    EXPECT_EQ(4u, wcslen(text));
    EXPECT_EQ(0, wcscmp(u"abc", u"abc"));
    EXPECT_LT(wcscmp(u"abc", u"abd"), 0);
    EXPECT_GT(wcscmp(u"abc", u"ab"), 0);
    EXPECT_EQ(0, wcsncmp(u"abcX", u"abcY", 3));
    EXPECT_EQ(0, _wcsicmp(u"Привет World", u"пРИВЕТ world"));
    EXPECT_EQ(0, _wcsicmp(u"ЁЛКА", u"ёлка"));
    EXPECT_NE(0, _wcsicmp(u"ЕЛКА", u"ёлка"));
    EXPECT_LT(_wcsicmp(u"a", u"B"), 0);
    EXPECT_EQ(0, _wcsnicmp(u"ABCx", u"abcy", 3));

    WCHAR buffer[16];
    wcscpy(buffer, u"ab");
    wcscat(buffer, u"cd");
    EXPECT_EQ(u"abcd", std::u16string(buffer));
    wcsncat(buffer, u"efgh", 2);
    EXPECT_EQ(u"abcdef", std::u16string(buffer));
    WCHAR padded[5] = {u'x', u'x', u'x', u'x', u'x'};
    wcsncpy(padded, u"ab", 4);
    EXPECT_EQ(u"ab", std::u16string(padded));
    EXPECT_EQ(0, padded[3]);
    EXPECT_EQ(u'x', padded[4]);
}

TEST(TextString, Searching) {
    const WCHAR* text = u"a,b;c,d";
    EXPECT_EQ(text + 1, wcschr(text, u','));
    EXPECT_EQ(text + 5, wcsrchr(text, u','));
    EXPECT_EQ(text + 7, wcschr(text, u'\0'));
    EXPECT_EQ(nullptr, wcschr(text, u'x'));
    EXPECT_EQ(text + 2, wcsstr(text, u"b;c"));
    EXPECT_EQ(nullptr, wcsstr(text, u"b;d"));
    EXPECT_EQ(text, wcsstr(text, u""));
    EXPECT_EQ(text + 3, wcspbrk(text, u";x"));
    EXPECT_EQ(nullptr, wcspbrk(text, u"xyz"));
    WCHAR mutableText[] = u"key=value";
    WCHAR* equals = wcschr(mutableText, u'=');
    ASSERT_NE(nullptr, equals);
    *equals = 0;
    EXPECT_EQ(u"key", std::u16string(mutableText));
}

TEST(TextNumber, WcstodReadsTheLongestNumber) {
    struct Case {
        const char16_t* text;
        double value;
        size_t used;
    };
    const Case cases[] = {
        {u"  -12.5xyz", -12.5, 7},
        {u"1e3", 1000.0, 3},
        {u"1e", 1.0, 1},
        {u"1.5e+", 1.5, 3},
        {u".5", 0.5, 2},
        {u"5.", 5.0, 2},
        {u".", 0.0, 0},
        {u"-", 0.0, 0},
        {u"abc", 0.0, 0},
        {u"+.25E-2!", 0.0025, 7},
        {u"1,5", 1.0, 1},
        {u"inf", 0.0, 0},
        {u"0x10", 0.0, 1},
        {u"\u00A0\u30007", 7.0, 3},
    };
    for (const Case& c : cases) {
        char16_t* end = nullptr;
        EXPECT_DOUBLE_EQ(c.value, wcstod(c.text, &end)) << platform::toUtf8(c.text);
        EXPECT_EQ(c.used, static_cast<size_t>(end - c.text)) << platform::toUtf8(c.text);
    }
    errno = 0;
    EXPECT_EQ(HUGE_VAL, wcstod(u"1e999", nullptr));
    EXPECT_EQ(ERANGE, errno);
    EXPECT_DOUBLE_EQ(2.5, _wtof(u"2.5"));
}

TEST(TextNumber, IntegersClampToThirtyTwoBits) {
    char16_t* end = nullptr;
    EXPECT_EQ(-123, wcstol(u"  -123abc", &end, 10));
    EXPECT_EQ(u'a', *end);
    EXPECT_EQ(255, wcstol(u"0xff", nullptr, 0));
    EXPECT_EQ(8, wcstol(u"010", nullptr, 0));
    EXPECT_EQ(35, wcstol(u"z", nullptr, 36));
    errno = 0;
    EXPECT_EQ(INT32_MAX, wcstol(u"99999999999", nullptr, 10));
    EXPECT_EQ(ERANGE, errno);
    EXPECT_EQ(INT32_MIN, wcstol(u"-2147483648", nullptr, 10));
    EXPECT_EQ(4294967295u, wcstoul(u"-1", nullptr, 10));
    EXPECT_EQ(UINT32_MAX, wcstoul(u"4294967296", nullptr, 10));
    wcstol(u"xyz", &end, 10);
    EXPECT_EQ(u'x', *end);
    EXPECT_EQ(42, _wtoi(u"42"));
    EXPECT_EQ(-7, _wtol(u" -7"));
    EXPECT_EQ(-9000000000LL, _wtoi64(u"-9000000000"));
    EXPECT_EQ(0, _wtoi(u""));
}

TEST(TextNumber, IntegerToText) {
    char16_t buffer[66];
    EXPECT_EQ(u"-123", std::u16string(_itow(-123, buffer, 10)));
    EXPECT_EQ(u"ffffffff", std::u16string(_itow(-1, buffer, 16)));
    EXPECT_EQ(u"-9223372036854775808", std::u16string(_i64tow(INT64_MIN, buffer, 10)));
    EXPECT_EQ(u"1010", std::u16string(_i64tow(10, buffer, 2)));
    EXPECT_EQ(u"0", std::u16string(_ultow(0, buffer, 10)));
    EXPECT_EQ(u"18446744073709551615", std::u16string(_ui64tow(UINT64_MAX, buffer, 10)));
}

TEST(TextCase, CyrillicGreekAndLatinMapBothWays) {
    WCHAR text[] = u"Ёлка ёж Щука äÖ ÿ Ωμέγα ĳ Ł";
    CharUpperW(text);
    EXPECT_EQ(u"ЁЛКА ЁЖ ЩУКА ÄÖ Ÿ ΩΜΈΓΑ Ĳ Ł", std::u16string(text));
    CharLowerW(text);
    EXPECT_EQ(u"ёлка ёж щука äö ÿ ωμέγα ĳ ł", std::u16string(text));
    EXPECT_EQ(u'Ѓ', towupper(u'ѓ'));
    EXPECT_EQ(u'ґ', towlower(u'Ґ'));
    EXPECT_EQ(u'ß', towupper(u'ß'));
    EXPECT_EQ(u'1', towupper(u'1'));
}

TEST(TextCase, SingleCharacterFormAndBuffers) {
    LPWSTR upper = CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(u'я')));
    EXPECT_EQ(static_cast<uintptr_t>(u'Я'), reinterpret_cast<uintptr_t>(upper));
    LPWSTR lower = CharLowerW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(u'Ё')));
    EXPECT_EQ(static_cast<uintptr_t>(u'ё'), reinterpret_cast<uintptr_t>(lower));
    WCHAR text[] = u"абвгд";
    EXPECT_EQ(3u, CharUpperBuffW(text, 3));
    EXPECT_EQ(u"АБВгд", std::u16string(text));
    EXPECT_EQ(2u, CharLowerBuffW(text, 2));
    EXPECT_EQ(u"абВгд", std::u16string(text));
}

TEST(TextCase, CharacterClasses) {
    for (char16_t space : {u' ', u'\t', u'\n', u'\u00A0', u'\u3000'})
        EXPECT_TRUE(iswspace(space));
    EXPECT_FALSE(iswspace(u'x'));
    EXPECT_TRUE(iswctype(u' ', _SPACE));
    EXPECT_FALSE(iswctype(u'a', _SPACE));
    EXPECT_TRUE(iswalpha(u'Ж') && iswalpha(u'ß') && iswalpha(u'z'));
    EXPECT_FALSE(iswalpha(u'5') || iswalpha(u'-'));
    EXPECT_TRUE(iswdigit(u'7'));
    EXPECT_FALSE(iswdigit(u'a'));
    EXPECT_TRUE(iswupper(u'Д') && iswlower(u'д'));
    EXPECT_TRUE(iswpunct(u',') && !iswpunct(u'a'));
}

}  // namespace
