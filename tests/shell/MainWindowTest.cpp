// The main window's pages and panels: it opens on the payee list, the header title leads to the
// settings page and back, every field shows its panel and strip, the strips' close returns to the
// field panel, and the fields and strips follow the stylus as buttons do.
#include <iterator>

#include "ControlMessages.h"
#include "DateTime.h"
#include "MessageRecorder.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "ShellFixture.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

bool visible(HWND window) {
    return window != nullptr && IsWindowVisible(window);
}

class MainWindowTest : public ShellTest {
  protected:
    // Checks that exactly the panel of mode and the strip are showing.
    void expectShowing(EntryMode mode, Strip strip, const std::string& context) {
        SCOPED_TRACE(context);
        for (int p = 0; p < kEntryModeCount; ++p)
            EXPECT_EQ(visible(m_window->panel(static_cast<EntryMode>(p)).window()), p == modeIndex(mode))
                << "panel " << p;
        for (int s = 0; s < kStripCount; ++s)
            EXPECT_EQ(visible(m_window->strip(static_cast<Strip>(s)).window()), s == strip) << "strip " << s;
    }
};

TEST_F(MainWindowTest, OpensFullScreenOnThePayeeListWithTheConfirmOrCreateStrip) {
    seedAccounts({{1, u"Cash", u"RUB", u"A1"}});
    open();
    EXPECT_EQ(m_window->page(), kPageEntry);
    EXPECT_EQ(m_window->entryMode(), EntryMode::Payees);
    expectShowing(EntryMode::Payees, kStripConfirmOrCreate, "start");
    EXPECT_TRUE(m_window->fullScreen());
    RECT main = screenRect(mainWindow());
    EXPECT_EQ(main.left, 0);
    EXPECT_EQ(main.top, 0);
    EXPECT_EQ(main.right, 240);
    EXPECT_EQ(main.bottom, 320);
    EXPECT_TRUE(visible(m_window->headerBar().window()));
    EXPECT_TRUE(visible(m_window->keyboard().window()));
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), mainWindow());
}

TEST_F(MainWindowTest, AnEmptyDraftShowsTodayAndTheStartAccount) {
    seedAccounts({{7, u"Bank", u"EUR", u"A7"}, {3, u"Cash", u"RUB", u"A3"}});
    open();
    // The first account in the store's order (by record key): "A3".
    EXPECT_EQ(m_window->draft().accountText(), u"Cash (RUB)");
    dove::Date now = dove::nowLocal();
    EXPECT_EQ(m_window->draft().dateText(), dove::shortDateText(now - now % dove::kDateDay));
    EXPECT_EQ(m_window->draft().payeeText(), u"");
    EXPECT_EQ(m_window->draft().categoryText(), u"");
    close();

    ASSERT_TRUE(writeSettingNumber(kSettingAccount, 7));
    open();
    EXPECT_EQ(m_window->draft().accountText(), u"Bank (EUR)");
    close();

    ASSERT_TRUE(writeSettingNumber(kSettingAccount, 99));  // no such account
    open();
    EXPECT_EQ(m_window->draft().account(), 3);
}

TEST_F(MainWindowTest, TheHeaderTitleLeadsToTheSettingsPageAndCloseLeadsBack) {
    open();
    HeaderBar& header = m_window->headerBar();
    tapAt(screenCentre(header.window(), header.titleArea()));
    EXPECT_EQ(m_window->page(), kPageSettings);
    EXPECT_EQ(m_window->previousPage(), kPageEntry);
    EXPECT_TRUE(visible(m_window->settingsPage().window()));
    for (int p = 0; p < kEntryModeCount; ++p)
        EXPECT_FALSE(visible(m_window->panel(static_cast<EntryMode>(p)).window())) << "panel " << p;
    for (int s = 0; s < kStripCount; ++s)
        EXPECT_FALSE(visible(m_window->strip(static_cast<Strip>(s)).window())) << "strip " << s;
    EXPECT_FALSE(visible(m_window->keyboard().window()));
    // A tap on the header left of the title does nothing.
    tapAt(POINT{2, 2});
    EXPECT_EQ(m_window->page(), kPageSettings);

    SendMessageW(mainWindow(), WM_COMMAND, kCmdClose,
                 reinterpret_cast<LPARAM>(m_window->settingsPage().window()));
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->page(), kPageEntry);
    EXPECT_EQ(m_window->entryMode(), EntryMode::Payees);
    EXPECT_FALSE(visible(m_window->settingsPage().window()));
    expectShowing(EntryMode::Payees, kStripConfirmOrCreate, "back on the entry page");
    EXPECT_TRUE(visible(m_window->keyboard().window()));
}

TEST_F(MainWindowTest, TheSettingsPagesOkAndCancelButtonsReturnToTheEntryPage) {
    open();
    HeaderBar& header = m_window->headerBar();
    for (int button : {IDCANCEL, IDOK}) {
        tapAt(screenCentre(header.window(), header.titleArea()));
        ASSERT_EQ(m_window->page(), kPageSettings);
        HWND key = GetDlgItem(m_window->settingsPage().window(), button);
        ASSERT_NE(key, nullptr) << "button " << button;
        RECT client{};
        GetClientRect(key, &client);
        tapAt(screenCentre(key, client));
        EXPECT_EQ(m_window->page(), kPageEntry) << "button " << button;
        expectShowing(EntryMode::Payees, kStripConfirmOrCreate, "back from the settings page");
    }
}

TEST_F(MainWindowTest, EachFieldShowsItsPanelAndStripAndCloseReturnsToTheFieldPanel) {
    struct Case {
        int field;
        EntryMode mode;
        Strip strip;
    };
    const Case kCases[] = {
        {0, EntryMode::Payees, kStripConfirmOrCreate},     {1, EntryMode::Date, kStripConfirm},
        {2, EntryMode::Calculator, kStripConfirm},         {3, EntryMode::Accounts, kStripConfirm},
        {4, EntryMode::Categories, kStripConfirmOrCreate}, {5, EntryMode::Projects, kStripConfirmOrCreate},
    };
    open();
    tapStripButton(kStripConfirmOrCreate, 2);  // "Закрыть"
    ASSERT_EQ(m_window->entryMode(), EntryMode::Form);
    expectShowing(EntryMode::Form, kStripForm, "field panel");
    for (const Case& c : kCases) {
        tapField(c.field);
        EXPECT_EQ(m_window->entryMode(), c.mode) << "field " << c.field;
        // The date picker hands the focus to its day field, the calculator keeps it, and a list gives
        // it to its rows.
        HWND focus = GetFocus();
        EXPECT_TRUE(focus != nullptr && (focus == m_window->panel(c.mode).window() ||
                                         IsChild(m_window->panel(c.mode).window(), focus)))
            << "field " << c.field;
        expectShowing(c.mode, c.strip, "field " + std::to_string(c.field));
        int close = c.strip == kStripConfirm ? 1 : 2;
        tapStripButton(c.strip, close);
        EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
        expectShowing(EntryMode::Form, kStripForm, "closed after field " + std::to_string(c.field));
    }
}

TEST_F(MainWindowTest, AFieldLooksPressedWhileTheStylusIsInsideAndActsOnlyWhenReleasedThere) {
    open();
    tapStripButton(kStripConfirmOrCreate, 2);
    FieldPanel& fields = m_window->fieldPanel();
    POINT date = screenCentre(fields.window(), fields.fieldRect(1));
    POINT amount = screenCentre(fields.window(), fields.fieldRect(2));
    platform::testing::stylusDown(date.x, date.y);
    platform::testing::pumpMessages();
    EXPECT_EQ(fields.heldField(), 1);
    EXPECT_TRUE(fields.heldLooksPressed());
    EXPECT_EQ(GetCapture(), fields.window());
    platform::testing::stylusMove(amount.x, amount.y);
    platform::testing::pumpMessages();
    EXPECT_FALSE(fields.heldLooksPressed());
    platform::testing::stylusMove(date.x, date.y);
    platform::testing::pumpMessages();
    EXPECT_TRUE(fields.heldLooksPressed());
    platform::testing::stylusMove(amount.x, amount.y);
    platform::testing::stylusUp(amount.x, amount.y);
    platform::testing::pumpMessages();
    EXPECT_EQ(fields.heldField(), -1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);  // released outside: nothing happened
}

TEST_F(MainWindowTest, TheToggleActsWhenTheStylusGoesDown) {
    open();
    tapStripButton(kStripConfirmOrCreate, 2);
    FieldPanel& fields = m_window->fieldPanel();
    POINT toggle = screenCentre(fields.window(), fields.toggleRect());
    platform::testing::stylusDown(toggle.x, toggle.y);
    platform::testing::pumpMessages();
    EXPECT_TRUE(m_window->draft().cleared());
    platform::testing::stylusUp(toggle.x, toggle.y);
    platform::testing::pumpMessages();
    EXPECT_TRUE(m_window->draft().cleared());
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
    tapAt(toggle);
    EXPECT_FALSE(m_window->draft().cleared());
}

TEST_F(MainWindowTest, AStripButtonLeftBeforeReleaseSendsNothing) {
    open();
    ButtonStrip& strip = m_window->strip(kStripConfirmOrCreate);
    POINT close = screenCentre(strip.window(), strip.buttonRect(2));
    POINT ok = screenCentre(strip.window(), strip.buttonRect(0));
    platform::testing::stylusDown(close.x, close.y);
    platform::testing::pumpMessages();
    EXPECT_EQ(strip.heldButton(), 2);
    EXPECT_TRUE(strip.heldLooksPressed());
    platform::testing::stylusMove(ok.x, ok.y);
    platform::testing::pumpMessages();
    EXPECT_FALSE(strip.heldLooksPressed());
    platform::testing::stylusUp(ok.x, ok.y);
    platform::testing::pumpMessages();
    EXPECT_EQ(strip.heldButton(), -1);
    EXPECT_EQ(m_window->entryMode(), EntryMode::Payees);
}

TEST_F(MainWindowTest, APanelConfirmingItselfEndsOnTheFieldPanel) {
    open();
    PostMessageW(mainWindow(), kMsgPanelConfirmed, 0, 0);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
    expectShowing(EntryMode::Form, kStripForm, "after the confirmation");
}

TEST_F(MainWindowTest, TheControlsSendTheirCommandsToTheMainWindow) {
    open();
    platform::testing::MessageRecorder recorder;
    recorder.watch(mainWindow());
    HWND header = m_window->headerBar().window();
    HWND fields = m_window->fieldPanel().window();
    HWND confirmOrCreate = m_window->strip(kStripConfirmOrCreate).window();
    HWND confirm = m_window->strip(kStripConfirm).window();
    tapStripButton(kStripConfirmOrCreate, 2);  // "Закрыть": to the field panel
    tapField(1);                               // the date picker
    tapStripButton(kStripConfirm, 1);          // "Закрыть"
    FieldPanel& panel = m_window->fieldPanel();
    tapAt(screenCentre(fields, panel.toggleRect()));
    tapAt(screenCentre(header, m_window->headerBar().titleArea()));
    struct Expected {
        UINT command;
        HWND from;
    };
    const Expected kExpected[] = {
        {kCmdClose, confirmOrCreate}, {kCmdDate, fields},     {kCmdClose, confirm},
        {kCmdCleared, fields},        {kCmdSettings, header},
    };
    std::vector<platform::testing::RecordedMessage> commands = recorder.messagesOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), std::size(kExpected));
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_FALSE(commands[i].posted) << i;
        EXPECT_EQ(LOWORD(commands[i].wParam), kExpected[i].command) << i;
        EXPECT_EQ(reinterpret_cast<HWND>(commands[i].lParam), kExpected[i].from) << i;
    }
}

TEST_F(MainWindowTest, KeypadKeysTypeIntoTheDatePickerAndTheCalculator) {
    open();
    tapStripButton(kStripConfirmOrCreate, 2);
    tapField(1);  // the date picker: the day field has the focus
    for (WPARAM key : {WPARAM{1}, WPARAM{7}})
        PostMessageW(mainWindow(), WM_KEYPAD_KEY, key, 0);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->datePicker().picker().day(), 17);
    tapStripButton(kStripConfirm, 1);

    tapField(2);  // the calculator
    for (WPARAM key : {WPARAM{1}, WPARAM{2}, kKeypadDecimalPoint, WPARAM{5}, WPARAM{4}, kKeypadBackspace})
        PostMessageW(mainWindow(), WM_KEYPAD_KEY, key, 0);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->calculator().calculator().getAmount(), 1250);
    // The device's RETURN in the calculator confirms as OK does.
    SendMessageW(m_window->calculator().window(), WM_KEYDOWN, VK_RETURN, 0);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
}

TEST_F(MainWindowTest, KeysReachOnlyThePanelShownOnTheEntryPage) {
    open();
    PostMessageW(mainWindow(), WM_KEYPAD_KEY, 3, 0);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->list(ListKind::Payees).typedFilter().size(), 1);
    tapAt(screenCentre(m_window->headerBar().window(), m_window->headerBar().titleArea()));
    PostMessageW(mainWindow(), WM_KEYPAD_KEY, 3, 0);
    PostMessageW(mainWindow(), WM_CHAR, u'x', 0);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->list(ListKind::Payees).typedFilter().size(), 1) << "the settings page takes no keys";
}

}  // namespace
}  // namespace shelltest
