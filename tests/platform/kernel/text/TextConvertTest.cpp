// Conversion between UTF-16 and the user's code set (CP_ACP) and UTF-8: substitution, sizes, errors.
#include <gtest/gtest.h>

#include <string>

#include "platform/handles.h"
#include "platform/text.h"
#include "platform/winerror.h"
#include "platform/winnls.h"

namespace {

class TextConvert : public ::testing::Test {
  protected:
    void TearDown() override { platform::setUserLocale(""); }

    static std::string toAnsi(const std::u16string& text, BOOL* usedDefault,
                              const char* defaultChar = nullptr) {
        int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                        defaultChar, usedDefault);
        std::string out(static_cast<size_t>(bytes), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes,
                            defaultChar, usedDefault);
        return out;
    }
};

TEST_F(TextConvert, CLocaleSubstitutesWhatLatin1CannotHold) {
    ASSERT_TRUE(platform::setUserLocale("C"));
    BOOL usedDefault = FALSE;
    EXPECT_EQ("Caf\xE9 ??", toAnsi(u"Café Жж", &usedDefault));
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ("abc", toAnsi(u"abc", &usedDefault));
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ("*", toAnsi(u"Ж", &usedDefault, "*"));
    WCHAR wide[8];
    EXPECT_EQ(5, MultiByteToWideChar(CP_ACP, 0, "Caf\xE9", -1, wide, 8));
    EXPECT_EQ(u"Café", std::u16string(wide));
}

TEST_F(TextConvert, Utf8LocaleKeepsEverything) {
    ASSERT_TRUE(platform::setUserLocale("ru_RU.UTF-8"));
    BOOL usedDefault = TRUE;
    EXPECT_EQ("Счёт €", toAnsi(u"Счёт €", &usedDefault));
    EXPECT_FALSE(usedDefault);
    // An unpaired surrogate is the one thing UTF-8 cannot carry.
    std::u16string broken = u"a";
    broken += static_cast<char16_t>(0xD800);
    EXPECT_EQ("a?", toAnsi(broken, &usedDefault));
    EXPECT_TRUE(usedDefault);
}

TEST_F(TextConvert, SizesAndTerminators) {
    EXPECT_EQ(7, WideCharToMultiByte(CP_UTF8, 0, u"Жук", -1, nullptr, 0, nullptr, nullptr));
    char small[3];
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"Жук", -1, small, 3, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    char exact[7];
    EXPECT_EQ(7, WideCharToMultiByte(CP_UTF8, 0, u"Жук", -1, exact, 7, nullptr, nullptr));
    EXPECT_EQ(std::string("Жук"), exact);
    EXPECT_EQ(4, MultiByteToWideChar(CP_UTF8, 0, "Жук", -1, nullptr, 0));
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, nullptr, 0));  // surrogate pair
}

TEST_F(TextConvert, InvalidInput) {
    BOOL used = FALSE;
    char buffer[8];
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a", -1, buffer, 8, nullptr, &used));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"a", 0, buffer, 8, nullptr, nullptr));
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, nullptr, -1, buffer, 8, nullptr, nullptr));
    WCHAR wide[8];
    EXPECT_EQ(3, MultiByteToWideChar(CP_UTF8, 0,
                                     "a\xFF"
                                     "b",
                                     3, wide, 8));
    EXPECT_EQ(u'\uFFFD', wide[1]);
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xC0\xAF", 2, wide, 8));  // overlong: each byte replaced
}

TEST_F(TextConvert, NumberedCodePagesGoThroughIconv) {
    char buffer[8];
    int bytes = WideCharToMultiByte(1251, 0, u"Жё", 2, buffer, 8, nullptr, nullptr);
    ASSERT_EQ(2, bytes);
    EXPECT_EQ('\xC6', buffer[0]);
    EXPECT_EQ('\xB8', buffer[1]);
    WCHAR wide[4];
    EXPECT_EQ(2, MultiByteToWideChar(1251, 0, "\xC6\xB8", 2, wide, 4));
    EXPECT_EQ(u"Жё", std::u16string(wide, 2));
}

}  // namespace
