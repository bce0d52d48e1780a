// The alphabet-key settings: the type from "AbcType" or the user's language, the built-in formats of
// the program's "ABC" resources, the personal one from "AbcCustom" with the English format in place of
// a missing or invalid one, the keypad's labels, and the formats the settings page offers.
#include <vector>

#include "AbcSettings.h"
#include "SettingsStore.h"
#include "ShellFixture.h"
#include "platform/resources.h"
#include "platform/winnls.h"

namespace shelltest {
namespace {

using namespace shell;

class AbcSettingsTest : public ShellTest {
  protected:
    void TearDown() override {
        platform::setUserLocale("");
        ShellTest::TearDown();
    }
    AbcSettings loaded() {
        AbcSettings settings;
        settings.load(m_module);
        return settings;
    }
};

TEST_F(AbcSettingsTest, TheStoredTypeWinsAndOtherwiseTheUsersLanguageChooses) {
    struct LocaleCase {
        const char* locale;
        int type;
    };
    // Russian is the language of types 2 and 3; the first is taken. Swedish is none of the four.
    const LocaleCase kLocales[] = {{"ru_RU.UTF-8", kAbcRussian},
                                   {"de_DE.UTF-8", kAbcGerman},
                                   {"en_US.UTF-8", kAbcEnglish},
                                   {"sv_SE.UTF-8", kAbcEnglish}};
    for (const LocaleCase& c : kLocales) {
        ASSERT_TRUE(platform::setUserLocale(c.locale)) << c.locale;
        ASSERT_TRUE(deleteValue(kSettingsSubKey, kSettingAbcType) ||
                    readSettingNumber(kSettingAbcType, 99) == 99);
        EXPECT_EQ(currentAbcType(), c.type) << c.locale;
        for (DWORD stored : {0u, 1u, 2u, 3u, 4u}) {
            ASSERT_TRUE(writeSettingNumber(kSettingAbcType, stored));
            EXPECT_EQ(currentAbcType(), static_cast<int>(stored)) << c.locale;
        }
        for (DWORD stored : {5u, 0xFFFFFFFFu, 1000u}) {
            ASSERT_TRUE(writeSettingNumber(kSettingAbcType, stored));
            EXPECT_EQ(currentAbcType(), c.type) << c.locale << " with " << stored << " stored";
        }
    }
}

TEST_F(AbcSettingsTest, EachTypeLabelsTheKeypadWithItsGroups) {
    struct TypeCase {
        int type;
        std::u16string key2;
        std::u16string key3Letters;
        bool second;
    };
    const TypeCase kTypes[] = {{kAbcEnglish, u"ABC", u"DEF", false},
                               {kAbcRussian, u"абвг", u"ДЕЁЖЗ", false},
                               {kAbcEnglishRussian, u"ABC^абвг", u"DEFдеёжз", true},
                               {kAbcGerman, u"ABCÄ", u"DEF", false}};
    for (const TypeCase& c : kTypes) {
        SCOPED_TRACE(c.type);
        ASSERT_TRUE(writeSettingNumber(kSettingAbcType, static_cast<DWORD>(c.type)));
        AbcSettings settings = loaded();
        EXPECT_EQ(settings.type(), c.type);
        EXPECT_EQ(settings.format().groupCount(), 10);
        EXPECT_EQ(settings.format().hasSecondLanguage, c.second);
        KeyLabels labels = settings.keyLabels();
        EXPECT_TRUE(labels[0].empty());
        EXPECT_TRUE(labels[1].empty());
        EXPECT_TRUE(labels[2] == c.key2);
        EXPECT_TRUE(settings.keyLetters(3) == c.key3Letters);
        EXPECT_TRUE(settings.keyLetters(0).empty());
        EXPECT_TRUE(settings.keyLetters(10).empty());
        EXPECT_TRUE(settings.keyLetters(-1).empty());
    }
}

TEST_F(AbcSettingsTest, ThePersonalFormatComesFromTheRegistryAndFallsBackToEnglish) {
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcPersonal));
    ASSERT_TRUE(writeCustomAbcText(u"/ X^Ы/xы"));
    AbcSettings personal = loaded();
    EXPECT_EQ(personal.type(), kAbcPersonal);
    ASSERT_EQ(personal.format().groupCount(), 2);
    EXPECT_TRUE(personal.keyLabels()[1] == u"X^Ы");
    EXPECT_TRUE(personal.keyLabels()[2].empty()) << "no group past the last";
    // The raw value holds the text's UTF-16 units, without byte-order mark or terminator.
    std::optional<std::vector<BYTE>> bytes = readBytes(kSettingsSubKey, kSettingAbcCustom);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 2u * 8u);

    ASSERT_TRUE(writeCustomAbcText(u"ABC"));  // no group
    EXPECT_EQ(loaded().format().text, builtInAbcText(m_module, kAbcEnglish).value());
    ASSERT_TRUE(deleteValue(kSettingsSubKey, kSettingAbcCustom));
    EXPECT_EQ(loaded().format().groupCount(), 10);
    // A text value in its place is not a raw byte value.
    ASSERT_TRUE(writeText(kSettingsSubKey, kSettingAbcCustom, u"/ / AB/AB"));
    EXPECT_FALSE(customAbcText().has_value());
    EXPECT_EQ(loaded().keyLabels()[2], u"ABC");
}

// A module whose "ABC" resources are made by hand.
class HandMadeModule {
  public:
    explicit HandMadeModule(std::vector<std::vector<BYTE>> texts) : m_texts(std::move(texts)) {
        const WORD ids[] = {198, 199, 215, 220};
        for (size_t i = 0; i < m_texts.size() && i < 4; ++i)
            m_entries.push_back(
                {{0, u"ABC"}, {ids[i], nullptr}, m_texts[i].data(), static_cast<DWORD>(m_texts[i].size())});
        EXPECT_TRUE(platform::registerModuleResources(module(), {m_entries.data(), m_entries.size()}));
    }
    ~HandMadeModule() { platform::unregisterModuleResources(module()); }
    HINSTANCE module() const { return reinterpret_cast<HINSTANCE>(const_cast<HandMadeModule*>(this)); }

  private:
    std::vector<std::vector<BYTE>> m_texts;
    std::vector<platform::ResourceEntry> m_entries;
};

std::vector<BYTE> utf16le(const std::u16string& text, bool mark) {
    std::vector<BYTE> bytes;
    if (mark) bytes = {0xFF, 0xFE};
    for (char16_t ch : text) {
        bytes.push_back(static_cast<BYTE>(ch & 0xFF));
        bytes.push_back(static_cast<BYTE>(ch >> 8));
    }
    return bytes;
}

TEST_F(AbcSettingsTest, ABuiltInFormatNeedsItsByteOrderMarkAndFourBytes) {
    // English: good; Russian: no mark; English and Russian: only the mark and one character (4 bytes,
    // enough); German: the mark alone (2 bytes, too short).
    HandMadeModule module(
        {utf16le(u"/ AB/ab", true), utf16le(u"/ AB/ab", false), utf16le(u"X", true), utf16le(u"", true)});
    EXPECT_EQ(builtInAbcText(module.module(), kAbcEnglish), std::optional<std::u16string>(u"/ AB/ab"));
    EXPECT_FALSE(builtInAbcText(module.module(), kAbcRussian).has_value());
    EXPECT_EQ(builtInAbcText(module.module(), kAbcEnglishRussian), std::optional<std::u16string>(u"X"));
    EXPECT_FALSE(builtInAbcText(module.module(), kAbcGerman).has_value());
    EXPECT_FALSE(builtInAbcText(module.module(), kAbcPersonal).has_value());

    // The page offers the personal format and the built-in ones that parse; "X" has no group.
    ASSERT_TRUE(writeCustomAbcText(u"nonsense"));
    std::vector<AbcChoice> choices = abcChoices(module.module());
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].type, kAbcPersonal);
    EXPECT_TRUE(choices[0].text.empty()) << "a personal text that does not parse shows empty";
    EXPECT_EQ(choices[1].type, kAbcEnglish);

    // A chosen type whose format is missing falls back to English.
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcGerman));
    AbcSettings settings;
    settings.load(module.module());
    EXPECT_EQ(settings.type(), kAbcGerman);
    EXPECT_EQ(settings.format().text, u"/ AB/ab");
}

TEST_F(AbcSettingsTest, TheSettingsPageOffersAllFiveFormatsByName) {
    ASSERT_TRUE(writeCustomAbcText(u"/ / AB/AB"));
    std::vector<AbcChoice> choices = abcChoices(m_module);
    const std::u16string kNames[] = {u"Личный", u"Английский", u"Русский", u"Англо-Русский", u"Немецкий"};
    ASSERT_EQ(choices.size(), 5u);
    for (int type = 0; type < kAbcTypeCount; ++type) {
        EXPECT_EQ(choices[static_cast<size_t>(type)].type, type);
        EXPECT_TRUE(choices[static_cast<size_t>(type)].name == kNames[type]) << type;
    }
    EXPECT_EQ(choices[0].text, u"/ / AB/AB");
    EXPECT_EQ(choices[2].text, builtInAbcText(m_module, kAbcRussian).value());
}

}  // namespace
}  // namespace shelltest
