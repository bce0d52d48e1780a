// The selection lists: what each shows from the store, narrowing by keypad keys and typed letters
// with the caption's count and marks, the keys a list ignores, the current entry kept across a
// refilter, OK taking the entry into the draft, and records kept until data changes elsewhere.
#include <string>
#include <vector>

#include "ControlMessages.h"
#include "FinanceStore.h"
#include "ListFixture.h"
#include "ListRecords.h"
#include "Payees.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "platform/device.h"
#include "platform/winreg.h"

namespace shelltest {
namespace {

using namespace shell;

std::string joined(const std::vector<std::u16string>& texts) {
    std::string all;
    for (const std::u16string& text : texts)
        all += (all.empty() ? "" : "|") + platform::toUtf8(text);
    return all;
}

std::string utf8(const std::u16string& text) {
    return platform::toUtf8(text);
}

class SelectionListTest : public ListTest {
  protected:
    void SetUp() override {
        ListTest::SetUp();
        seedLists();
    }
};

TEST_F(SelectionListTest, EachListShowsItsRecordsInItsOrder) {
    open();
    EXPECT_EQ(joined(shownTexts(ListKind::Payees)), "Acme Corp|Dr. Smith|Food Court|Fresh Market")
        << "display-name order, the hidden payee left out";
    openField(3);
    EXPECT_EQ(joined(shownTexts(ListKind::Accounts)), "Savings|Checking|Brokerage")
        << "display-position order, the closed account left out";
    openField(5);
    EXPECT_EQ(joined(shownTexts(ListKind::Projects)), "Проекты|Business trip|Vacation");
    const std::vector<ListItem>& projects = list(ListKind::Projects).control().view().items();
    EXPECT_EQ(projects[1].parent, 0) << "projects are indented under the root";
    openField(4);
    EXPECT_EQ(joined(shownTexts(ListKind::Categories)),
              "Car|Fuel|Service|Groceries|Home|Salary|[Savings]|[Checking]")
        << "a tree in name order, then the accounts that take transfers";
    EXPECT_EQ(utf8(caption(ListKind::Categories)), "Категория (8) ");

    struct Row {
        int index;
        int32_t id;
        int32_t parent;
        const char16_t* tag;
        COLORREF colour;
    };
    const Row kRows[] = {{0, 0, -1, u"Расх", RGB(255, 0, 0)},
                         {1, m_fuel, 0, u"Расх", RGB(255, 0, 0)},
                         {5, m_salary, -1, u"Прих", RGB(0, 255, 0)},
                         {6, -2, -1, u"Прв", RGB(0, 0, 0)},
                         {7, -1, -1, u"Прв", RGB(0, 0, 0)}};
    const std::vector<ListItem>& items = list(ListKind::Categories).control().view().items();
    for (const Row& row : kRows) {
        const ListItem& item = items[static_cast<size_t>(row.index)];
        if (row.id != 0) {
            EXPECT_EQ(static_cast<int32_t>(item.id), row.id) << row.index;
        }
        EXPECT_EQ(item.parent, row.parent) << row.index;
        EXPECT_TRUE(item.rightText == row.tag) << row.index;
        EXPECT_EQ(item.rightColor, row.colour) << row.index;
    }
}

TEST_F(SelectionListTest, ShowClosedAccountsBringsTheClosedAccountBack) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAccountCenterKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    DWORD one = 1;
    RegSetValueExW(key, kShowClosedAccounts, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);
    open();
    openField(3);
    EXPECT_EQ(joined(shownTexts(ListKind::Accounts)), "Savings|Old Card|Checking|Brokerage");
    openField(4);
    EXPECT_EQ(joined(shownTexts(ListKind::Categories)).find("Old Card"), std::string::npos)
        << "a closed account takes no transfers";
}

TEST_F(SelectionListTest, TypingDNarrowsToOneLetterAndBackspaceTakesItBack) {
    open();
    EXPECT_EQ(utf8(caption(ListKind::Payees)), "Получатель (4) ");
    typeCharacter(u'D');
    ASSERT_EQ(list(ListKind::Payees).typedFilter().size(), 1);
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().entries()[0] == u"d");
    EXPECT_EQ(joined(shownTexts(ListKind::Payees)), "Dr. Smith");
    EXPECT_EQ(utf8(caption(ListKind::Payees)), "Получатель (1) *");
    typeCharacter(8);
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().empty());
    EXPECT_EQ(utf8(caption(ListKind::Payees)), "Получатель (4) ");
    // Digits and other characters are no letters.
    typeCharacter(u'5');
    typeCharacter(u'.');
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().empty());
}

TEST_F(SelectionListTest, KeypadKeysNarrowByTheirGroupsAndTheCaptionMarksEachKey) {
    open();
    keypad(3);  // DEF
    EXPECT_EQ(joined(shownTexts(ListKind::Payees)), "Dr. Smith|Food Court|Fresh Market");
    keypad(6);  // MNO
    EXPECT_EQ(joined(shownTexts(ListKind::Payees)), "Food Court");
    EXPECT_EQ(utf8(caption(ListKind::Payees)), "Получатель (1) **");
    keypad(kKeypadBackspace);
    EXPECT_EQ(utf8(caption(ListKind::Payees)), "Получатель (3) *");
    keypad(kKeypadDecimalPoint);
    keypad(0);  // the first two keys carry no letters
    keypad(1);
    EXPECT_EQ(list(ListKind::Payees).typedFilter().size(), 1);
    keypad(2);
    keypad(kKeypadClear);
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().empty());
    EXPECT_EQ(shownTexts(ListKind::Payees).size(), 4u);
    // Form feed clears as the held backspace does.
    keypad(3);
    typeCharacter(12);
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().empty());
}

TEST_F(SelectionListTest, AListOfOneTakesNoMoreKeysWhileTheAccountListStopsOnlyWhenEmpty) {
    open();
    keypad(6);  // MNO: only "Market" begins with one of them
    EXPECT_EQ(joined(shownTexts(ListKind::Payees)), "Fresh Market");
    keypad(2);
    EXPECT_EQ(list(ListKind::Payees).typedFilter().size(), 1) << "one entry shown: the key is ignored";
    typeCharacter(u'z');
    EXPECT_EQ(list(ListKind::Payees).typedFilter().size(), 1);

    openField(3);  // accounts: Savings, Checking, Brokerage
    keypad(2);     // ABC: Brokerage, Checking
    keypad(7);     // PQRS: Brokerage
    EXPECT_EQ(joined(shownTexts(ListKind::Accounts)), "Brokerage");
    keypad(2);  // one shown: the account list still takes a key, and shows none
    EXPECT_TRUE(shownTexts(ListKind::Accounts).empty());
    EXPECT_EQ(utf8(caption(ListKind::Accounts)), "Счет (0) ***");
    keypad(2);
    EXPECT_EQ(list(ListKind::Accounts).typedFilter().size(), 3) << "none shown: ignored";
    keypad(kKeypadBackspace);
    EXPECT_EQ(joined(shownTexts(ListKind::Accounts)), "Brokerage");
}

TEST_F(SelectionListTest, RefilteringKeepsTheCurrentEntryWhileItIsShown) {
    open();
    FingerList& payees = list(ListKind::Payees).control();
    EXPECT_EQ(utf8(currentText(ListKind::Payees)), "Acme Corp") << "the first entry without a payee chosen";
    keypad(3);  // DEF
    EXPECT_EQ(utf8(currentText(ListKind::Payees)), "Dr. Smith") << "the first shown when the current is not";
    payees.select(2);  // Fresh Market
    keypad(7);         // PQRS: Dr. Smith, Fresh Market
    EXPECT_EQ(utf8(currentText(ListKind::Payees)), "Fresh Market");
    keypad(kKeypadClear);
    EXPECT_EQ(utf8(currentText(ListKind::Payees)), "Fresh Market") << "kept when the filter is cleared";
    // Showing the list again starts with no typed letters and the draft's payee.
    keypad(3);
    openField(0);
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().empty());
    EXPECT_EQ(shownTexts(ListKind::Payees).size(), 4u);
}

TEST_F(SelectionListTest, OkTakesTheCurrentEntryIntoTheDraftAndTheFieldShowsIt) {
    open();
    list(ListKind::Payees).control().select(3);  // Fresh Market: Savings, Groceries, 65.00
    tapStripButton(kStripConfirmOrCreate, 0);
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
    EXPECT_EQ(m_window->draft().payee(), m_freshMarket);
    EXPECT_EQ(m_window->draft().account(), 2);
    EXPECT_EQ(m_window->draft().category(), m_groceries);
    EXPECT_EQ(m_window->draft().amount(), -6500) << "an expense category makes the amount a payment";
    EXPECT_EQ(utf8(m_window->fieldPanel().fieldText(0)), "Fresh Market");
    EXPECT_EQ(utf8(m_window->fieldPanel().fieldText(4)), "Groceries");

    // The category list opens on the draft's category; a tap on a row confirms it.
    openField(4);
    EXPECT_EQ(utf8(currentText(ListKind::Categories)), "Groceries");
    list(ListKind::Categories).control().select(5);  // Salary, income
    tapStripButton(kStripConfirmOrCreate, 0);
    EXPECT_EQ(m_window->draft().category(), m_salary);
    EXPECT_EQ(m_window->draft().amount(), 6500) << "an income category turns the payment round";

    openField(5);
    keypad(9);  // WXYZ: none
    EXPECT_TRUE(shownTexts(ListKind::Projects).empty());
    tapStripButton(kStripConfirmOrCreate, 0);
    EXPECT_EQ(m_window->draft().project(), 0) << "no current entry: nothing taken";
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
}

TEST_F(SelectionListTest, ATappedRowConfirmsItself) {
    open();
    openField(3);
    FingerListView& view = list(ListKind::Accounts).control().view();
    RECT row{0, view.rowHeight(), 10, 2 * view.rowHeight()};  // the second row: Checking
    tapAt(screenCentre(view.window(), row));
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
    EXPECT_EQ(m_window->draft().account(), 1);
    EXPECT_TRUE(m_window->draft().accountSetByUser());
}

TEST_F(SelectionListTest, LoadedRecordsStayUntilDataChangesElsewhere) {
    open();
    SelectionList& payees = list(ListKind::Payees);
    EXPECT_EQ(payees.loads(), 1);
    EXPECT_FALSE(list(ListKind::Accounts).loaded()) << "a list is read when first shown";
    // Another program adds a payee while the list holds its records.
    dove::Payee added;
    added.name = u"Zebra Zoo";
    ASSERT_EQ(dove::createPayee(added), dove::StoreStatus::Ok);
    openField(0);
    EXPECT_EQ(payees.loads(), 1);
    EXPECT_EQ(shownTexts(ListKind::Payees).size(), 4u);
    PostMessageW(mainWindow(), kMsgDataChanged, 0, 0);
    platform::testing::pumpMessages();
    EXPECT_FALSE(payees.loaded());
    keypad(9);  // the next refilter reads the store again
    EXPECT_EQ(payees.loads(), 2);
    EXPECT_EQ(joined(shownTexts(ListKind::Payees)), "Zebra Zoo");
}

TEST_F(SelectionListTest, PaintingReadsNothingFromTheStore) {
    open();
    // With the store closed, a list that read while painting would draw nothing.
    dove::closeFinanceStore();
    FingerListView& view = list(ListKind::Payees).control().view();
    InvalidateRect(view.window(), nullptr, FALSE);
    platform::testing::pumpMessages();
    EXPECT_EQ(utf8(view.shownText(0)), "Acme Corp");
    EXPECT_EQ(utf8(view.shownText(3)), "Fresh Market");
    ASSERT_TRUE(dove::openFinanceStore());
}

TEST_F(SelectionListTest, TheKeypadShowsLetterGroupsOnlyWhileAListIsShown) {
    ASSERT_TRUE(writeSettingNumber(kSettingAbcType, 3));  // English and Russian
    open();
    Keyboard& keyboard = m_window->keyboard();
    EXPECT_TRUE(keyboard.label(0).empty());
    EXPECT_TRUE(keyboard.label(2) == u"ABC^абвг");
    EXPECT_TRUE(keyboard.label(9) == u"WXYZ^ьэюя");
    for (int field : {0, 1, 2, 3, 4, 5}) {
        openField(field);
        bool list = field == 0 || field >= 3;
        EXPECT_EQ(keyboard.label(5).empty(), !list) << "field " << field;
    }
    SendMessageW(mainWindow(), WM_COMMAND, kCmdClose, 0);
    EXPECT_TRUE(keyboard.label(5).empty()) << "the field panel";
}

TEST_F(SelectionListTest, TheLeftHandedAlignmentPutsTheScrollBarOnTheLeft) {
    seedPayees({u"A1", u"A2", u"A3"});  // more than five: the bar shows
    ASSERT_TRUE(writeSettingNumber(kSettingButtonAlign, 0));
    open();
    FingerList& payees = list(ListKind::Payees).control();
    EXPECT_TRUE(payees.scrollBarOnLeft());
    RECT bar = screenRect(payees.scrollBar().window());
    RECT rows = screenRect(payees.view().window());
    EXPECT_LT(bar.right, rows.left);
    EXPECT_TRUE(list(ListKind::Accounts).control().scrollBarOnLeft());
}

}  // namespace
}  // namespace shelltest
