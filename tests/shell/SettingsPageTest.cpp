// The settings page: choosing a format from the name key's menu (opened as the stylus goes down),
// typing a format, OK storing the values (or refusing an invalid personal format with message 30),
// Cancel leaving the registry as it was, the vibration check box, and the main window taking the new
// format and alignment after OK.
#include <optional>
#include <vector>

#include "AbcSettings.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "ShellFixture.h"
#include "platform/aygshell.h"
#include "platform/display.h"
#include "platform/windlg.h"

namespace shelltest {
namespace {

using namespace shell;

std::vector<BYTE> utf16Bytes(const std::u16string& text) {
    std::vector<BYTE> bytes;
    for (char16_t ch : text) {
        bytes.push_back(static_cast<BYTE>(ch & 0xFF));
        bytes.push_back(static_cast<BYTE>(ch >> 8));
    }
    return bytes;
}

// The values the page may write, as stored.
struct StoredSettings {
    DWORD type;
    std::optional<std::vector<BYTE>> custom;
    DWORD vibration;
    bool operator==(const StoredSettings& other) const {
        return type == other.type && custom == other.custom && vibration == other.vibration;
    }
};

StoredSettings stored() {
    return {readSettingNumber(kSettingAbcType, 99), readBytes(kSettingsSubKey, kSettingAbcCustom),
            readSettingNumber(kSettingVibration, 99)};
}

class SettingsPageTest : public ShellTest {
  protected:
    void TearDown() override {
        platform::setModalIdleHook({});
        ShellTest::TearDown();
    }
    SettingsPage& page() { return m_window->settingsPage(); }
    void openPage() {
        tapAt(screenCentre(m_window->headerBar().window(), m_window->headerBar().titleArea()));
        ASSERT_EQ(m_window->page(), kPageSettings);
    }
    void tapButton(DialogButton& button) {
        RECT client{};
        GetClientRect(button.window(), &client);
        tapAt(screenCentre(button.window(), client));
    }
    std::u16string nameShown() {
        WCHAR text[64] = {};
        GetWindowTextW(page().nameKey().window(), text, 64);
        return text;
    }
    std::u16string formatText() {
        WCHAR text[256] = {};
        GetWindowTextW(page().formatText(), text, 256);
        return text;
    }
    void typeFormat(const std::u16string& text) {
        SetWindowTextW(page().formatText(), text.c_str());
        platform::testing::pumpMessages();
    }
    // Puts the stylus down on the name key, picks menu item index with the keys while the menu is
    // open, then lifts the stylus. Returns whether the menu was open before the stylus lifted.
    bool pickFromMenu(int index) {
        bool stylusUp = false, openBeforeUp = false, done = false;
        platform::setModalIdleHook([&](HWND) {
            if (done) return;
            done = true;
            openBeforeUp = !stylusUp;
            for (int i = 0; i <= index; ++i)
                platform::testing::pressKey(VK_DOWN);
            platform::testing::pressKey(VK_RETURN);
        });
        RECT client{};
        GetClientRect(page().nameKey().window(), &client);
        POINT key = screenCentre(page().nameKey().window(), client);
        platform::testing::stylusDown(key.x, key.y);
        platform::testing::pumpMessages();
        stylusUp = true;
        platform::testing::stylusUp(key.x, key.y);
        platform::testing::pumpMessages();
        platform::setModalIdleHook({});
        return openBeforeUp && done;
    }
};

TEST_F(SettingsPageTest, ChoosingRussianAndOkStoresType2AndLeavesThePersonalFormatAlone) {
    ASSERT_TRUE(writeCustomAbcText(u"/ Q/q"));
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcEnglish));
    open();
    openPage();
    EXPECT_TRUE(nameShown() == u"Английский");
    EXPECT_EQ(formatText(), builtInAbcText(m_module, kAbcEnglish).value());
    ASSERT_TRUE(pickFromMenu(2)) << "the menu opens while the stylus is down";
    EXPECT_TRUE(nameShown() == u"Русский");
    EXPECT_EQ(formatText(), builtInAbcText(m_module, kAbcRussian).value());
    tapButton(page().okButton());
    EXPECT_EQ(m_window->page(), kPageEntry);
    EXPECT_EQ(readSettingNumber(kSettingAbcType, 99), 2u);
    EXPECT_EQ(readBytes(kSettingsSubKey, kSettingAbcCustom), std::optional(utf16Bytes(u"/ Q/q")));
    // Back on the payee list, the keys carry the Russian letters.
    EXPECT_TRUE(m_window->keyboard().label(2) == u"абвг");
}

TEST_F(SettingsPageTest, EditingTheEnglishTextMakesItPersonalAndOkStoresIt) {
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcEnglish));
    open();
    openPage();
    typeFormat(u"/ / AB/AB");
    EXPECT_TRUE(nameShown() == u"Личный");
    EXPECT_TRUE(page().choices().personalChosen());
    tapButton(page().okButton());
    EXPECT_EQ(m_window->page(), kPageEntry);
    EXPECT_EQ(readSettingNumber(kSettingAbcType, 99), 0u);
    EXPECT_EQ(readBytes(kSettingsSubKey, kSettingAbcCustom), std::optional(utf16Bytes(u"/ / AB/AB")));
    EXPECT_TRUE(m_window->keyboard().label(2) == u"AB");
    EXPECT_TRUE(m_window->keyboard().label(3).empty());
}

TEST_F(SettingsPageTest, AnInvalidPersonalFormatShowsMessage30AndStoresNothing) {
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcPersonal));
    ASSERT_TRUE(writeCustomAbcText(u"/ / AB/AB"));
    open();
    openPage();
    StoredSettings before = stored();
    EXPECT_TRUE(nameShown() == u"Личный");
    typeFormat(u"ABC");
    platform::takeMessageBoxes();
    platform::queueScriptedAnswer(IDOK);
    tapButton(page().okButton());
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text == u"Неправельный ABC bar !");
    EXPECT_TRUE(boxes[0].caption == u"Brimwell Dashel");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_TRUE(stored() == before);
    EXPECT_EQ(m_window->page(), kPageSettings);
    EXPECT_EQ(GetFocus(), page().formatText());
    DWORD start = 0, end = 0;
    SendMessageW(page().formatText(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "the whole text is selected";
}

TEST_F(SettingsPageTest, CancelAfterEditingLeavesEveryStoredValueAsItWas) {
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcGerman));
    ASSERT_TRUE(writeCustomAbcText(u"/ Q/q"));
    ASSERT_TRUE(writeSettingNumber(kSettingVibration, 0));
    open();
    openPage();
    StoredSettings before = stored();
    typeFormat(u"/ / XY/XY");
    SendMessageW(page().vibrationBox(), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(pickFromMenu(1));
    tapButton(page().cancelButton());
    EXPECT_EQ(m_window->page(), kPageEntry);
    EXPECT_TRUE(stored() == before);
    EXPECT_FALSE(m_window->vibrationOn());
    EXPECT_TRUE(m_window->keyboard().label(2) == u"ABCÄ") << "the German format stays in use";
    // Shown again, the page shows what is in effect.
    openPage();
    EXPECT_TRUE(nameShown() == u"Немецкий");
    EXPECT_EQ(SendMessageW(page().vibrationBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(SettingsPageTest, ThePersonalFormatStaysChosenWhenItsTextEqualsABuiltInOne) {
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, kAbcPersonal));
    open();
    openPage();
    std::u16string english = builtInAbcText(m_module, kAbcEnglish).value();
    typeFormat(english);
    EXPECT_TRUE(nameShown() == u"Личный");
    // Picking English from the menu keeps the typed text as the personal one.
    typeFormat(u"/ / AB/AB");
    ASSERT_TRUE(pickFromMenu(1));
    EXPECT_TRUE(nameShown() == u"Английский");
    EXPECT_EQ(formatText(), english);
    // Typing one letter more leaves English for the personal format; deleting it finds English again.
    SendMessageW(page().formatText(), WM_SETFOCUS, 0, 0);
    typeFormat(english + u"x");
    EXPECT_TRUE(nameShown() == u"Личный");
    ASSERT_TRUE(pickFromMenu(0));
    EXPECT_EQ(formatText(), english + u"x");
}

TEST_F(SettingsPageTest, OkStoresTheVibrationSettingAndSwitchesItOn) {
    ASSERT_TRUE(writeSettingNumber(kSettingVibration, 0));
    open();
    openPage();
    EXPECT_EQ(SendMessageW(page().vibrationBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    RECT box{};
    GetClientRect(page().vibrationBox(), &box);
    tapAt(screenCentre(page().vibrationBox(), box));
    EXPECT_EQ(SendMessageW(page().vibrationBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
    tapButton(page().okButton());
    EXPECT_EQ(readSettingNumber(kSettingVibration, 99), 1u);
    EXPECT_TRUE(m_window->vibrationOn());
}

TEST_F(SettingsPageTest, AfterOkTheListsReadTheButtonAlignmentAgain) {
    open();
    EXPECT_FALSE(m_window->payeeList().scrollBarOnLeft());
    ASSERT_TRUE(writeSettingNumber(kSettingButtonAlign, 0));
    openPage();
    tapButton(page().cancelButton());
    EXPECT_FALSE(m_window->payeeList().scrollBarOnLeft()) << "Cancel reloads nothing";
    openPage();
    tapButton(page().okButton());
    EXPECT_TRUE(m_window->payeeList().scrollBarOnLeft());
}

TEST_F(SettingsPageTest, ThePageIsWhiteAndTheFormatTextRaisesTheInputPanel) {
    open();
    openPage();
    RECT rect = screenRect(page().window());
    EXPECT_EQ(platform::testing::screenPixel(rect.right - 3, (rect.top + rect.bottom) / 2),
              RGB(255, 255, 255));
    SIPINFO info{};
    info.cbSize = sizeof(info);
    SetFocus(page().formatText());
    platform::testing::pumpMessages();
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_TRUE(info.fdwFlags & SIPF_ON);
    SetFocus(mainWindow());
    platform::testing::pumpMessages();
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_FALSE(info.fdwFlags & SIPF_ON);
}

TEST(FormatChoicesTest, TypingAndPickingFollowTheRules) {
    std::vector<AbcChoice> choices{
        {kAbcPersonal, u"P", u"mine"}, {kAbcEnglish, u"E", u"en"}, {kAbcRussian, u"R", u"ru"}};
    FormatChoices model;
    model.reset(choices, kAbcEnglish);
    EXPECT_EQ(model.chosen(), 1);
    model.typed(u"en");
    EXPECT_EQ(model.chosen(), 1) << "the same text keeps the choice";
    model.typed(u"ru");
    EXPECT_EQ(model.chosen(), 2) << "another built-in text chooses that format";
    model.typed(u"r");
    EXPECT_EQ(model.chosen(), 0);
    EXPECT_EQ(model.chosenChoice().text, u"r");
    model.typed(u"en");
    EXPECT_EQ(model.chosen(), 0) << "the personal format stays chosen";
    EXPECT_EQ(model.choose(2, u"typed"), u"ru");
    EXPECT_EQ(model.choices()[0].text, u"typed");
    EXPECT_EQ(model.choose(0, u"ignored"), u"typed") << "the personal text was kept";
    EXPECT_EQ(model.choose(7, u"x"), u"typed") << "no such item";
    model.reset(choices, kAbcGerman);
    EXPECT_EQ(model.chosen(), 0) << "a type that is not offered chooses the personal format";
}

}  // namespace
}  // namespace shelltest
