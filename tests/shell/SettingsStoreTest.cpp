// The settings store: values under the program's key and a sub-key, defaults for missing values and
// values of another type, and deleting values and whole keys with their sub-keys.
#include "SettingsStore.h"
#include "ShellFixture.h"

namespace shelltest {
namespace {

using namespace shell;

class SettingsStoreTest : public ShellTest {};

TEST_F(SettingsStoreTest, ValuesReadBackAndMissingOrOtherTypesGiveTheDefault) {
    EXPECT_EQ(readNumber(kSettingsSubKey, u"Missing", 7), 7u);
    EXPECT_EQ(readText(kSettingsSubKey, u"Missing", u"none"), u"none");
    EXPECT_FALSE(readBytes(kSettingsSubKey, u"Missing").has_value());

    ASSERT_TRUE(writeNumber(kSettingsSubKey, u"Number", 42));
    ASSERT_TRUE(writeText(kSettingsSubKey, u"Text", u"Счет"));
    ASSERT_TRUE(writeBytes(kSettingsSubKey, u"Bytes", {1, 2, 3}));
    ASSERT_TRUE(writeBytes(kSettingsSubKey, u"Empty", {}));
    EXPECT_EQ(readNumber(kSettingsSubKey, u"Number", 0), 42u);
    EXPECT_EQ(readSettingNumber(u"Number", 0), 42u) << "the same value under \"Settings\"";
    EXPECT_EQ(readText(kSettingsSubKey, u"Text", u""), u"Счет");
    EXPECT_EQ(readBytes(kSettingsSubKey, u"Bytes"), std::optional(std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(readBytes(kSettingsSubKey, u"Empty"), std::optional(std::vector<BYTE>{}));
    // Another type than asked for counts as missing.
    EXPECT_EQ(readNumber(kSettingsSubKey, u"Text", 5), 5u);
    EXPECT_EQ(readNumber(kSettingsSubKey, u"Bytes", 5), 5u);
    EXPECT_EQ(readText(kSettingsSubKey, u"Number", u"d"), u"d");
    EXPECT_FALSE(readBytes(kSettingsSubKey, u"Text").has_value());
    // "BtnAlign": only 0 is left-handed.
    for (DWORD align : {0u, 1u, 2u}) {
        ASSERT_TRUE(writeSettingNumber(kSettingButtonAlign, align));
        EXPECT_EQ(leftHandedAlignment(), align == 0) << align;
    }
}

TEST_F(SettingsStoreTest, DeletingAKeyTakesItsSubKeysAlong) {
    ASSERT_TRUE(writeNumber(u"Other", u"A", 1));
    ASSERT_TRUE(writeNumber(u"Other\\Deeper", u"B", 2));
    ASSERT_TRUE(writeNumber(u"Other\\Deeper\\Deepest", u"C", 3));
    ASSERT_TRUE(writeNumber(kSettingsSubKey, u"Kept", 4));
    EXPECT_TRUE(deleteValue(u"Other", u"A"));
    EXPECT_FALSE(deleteValue(u"Other", u"A"));
    EXPECT_TRUE(deleteKey(u"Other"));
    EXPECT_EQ(readNumber(u"Other\\Deeper", u"B", 0), 0u);
    EXPECT_EQ(readNumber(u"Other\\Deeper\\Deepest", u"C", 0), 0u);
    EXPECT_FALSE(deleteKey(u"Other"));
    EXPECT_EQ(readSettingNumber(u"Kept", 0), 4u);
}

}  // namespace
}  // namespace shelltest
