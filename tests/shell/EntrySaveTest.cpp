// Saving the entry: the transaction written with the draft's fields, an amount in another currency kept
// with its converted amount, "AcctID" remembered; message 26 without an account, message 27 for a
// write that fails (nothing written, the draft kept, the next save written); "Зап. & Новый" starts the
// next entry on the payee list with the account kept, "Записать" closes the program; the strips do
// nothing while the settings page shows; data changed elsewhere makes every list, and the calculator's
// currency field, read its records again.
#include <algorithm>
#include <cstring>

#include "CalculatorMessages.h"
#include "EntryFixture.h"
#include "FinanceStore.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "platform/cedb.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

class EntrySaveTest : public EntryTest {
  protected:
    void SetUp() override {
        EntryTest::SetUp();
        openOnEntryStore();
    }
    // Fresh Market (Savings, Groceries), 12.34 typed, cleared: the entry most tests save.
    void enterMarketPurchase() {
        choose(ListKind::Payees, m_freshMarket);
        type(u"12.34");
        SendMessageW(mainWindow(), WM_COMMAND, kCmdCleared,
                     reinterpret_cast<LPARAM>(m_window->fieldPanel().window()));
    }
    double rateOf(const dove::TransactionRecord& record) {
        const uint64_t bits = record.value64(dove::tx::kRate);
        double rate = 0;
        std::memcpy(&rate, &bits, sizeof rate);
        return rate;
    }
};

TEST_F(EntrySaveTest, TheSavedTransactionHoldsTheDraftAndTheNextEntryStartsOnThePayeeList) {
    enterMarketPurchase();
    choose(ListKind::Projects, m_vacation);
    const std::vector<dove::TransactionRecord> before = storedTransactions();
    const dove::Date earliest = dove::nowLocal();
    tapFormButton(0);  // "Зап. & Новый"
    std::vector<dove::TransactionRecord> added = addedSince(before);
    ASSERT_EQ(added.size(), 1u);
    const dove::TransactionRecord& saved = added[0];
    EXPECT_EQ(saved.account(), 2);
    EXPECT_EQ(saved.payee(), m_freshMarket);
    EXPECT_EQ(saved.payeeName(), u"Fresh Market");
    EXPECT_EQ(saved.category(), m_groceries);
    EXPECT_EQ(saved.project(), m_vacation);
    EXPECT_EQ(saved.cleared(), 1);
    EXPECT_EQ(saved.amount(), -1234);
    EXPECT_EQ(saved.currency(), u"USD");
    EXPECT_EQ(saved.enteredAmount(), 0) << "no second currency";
    EXPECT_EQ(dove::compareDates(saved.date(), earliest, dove::kCompareDays), 0) << "entered today";
    EXPECT_EQ(saved.runningBalance(), -1234) << "the account's first transaction";
    EXPECT_EQ(readSettingNumber(kSettingAccount, 0), 2u) << "the next start opens on the account";
    EXPECT_TRUE(m_window->dataChanged());
    // The next entry: on the payee list, everything cleared but the account.
    EXPECT_EQ(m_window->entryMode(), EntryMode::Payees);
    EXPECT_EQ(draft().account(), 2);
    EXPECT_EQ(draft().payee(), 0);
    EXPECT_EQ(draft().amount(), 0);
    EXPECT_FALSE(draft().cleared());
    EXPECT_TRUE(draft().typedAmount().empty());
    EXPECT_FALSE(platform::waitCursorShown()) << "the wait cursor went with the write";
}

TEST_F(EntrySaveTest, TheMemorizedAccountIsTakenOnlyWhenTheUserHasNotChosenOne) {
    tapStripButton(kStripConfirmOrCreate, 2);
    choose(ListKind::Accounts, 4);
    choose(ListKind::Payees, m_freshMarket);  // memorized: account 2
    EXPECT_EQ(draft().account(), 4) << "the user's account stays";
    const std::vector<dove::TransactionRecord> before = storedTransactions();
    tapFormButton(0);
    std::vector<dove::TransactionRecord> added = addedSince(before);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].account(), 4);
    // In the next entry the account is kept but no longer the user's choice.
    EXPECT_EQ(draft().account(), 4);
    list(ListKind::Payees).selectId(m_freshMarket);
    tapStripButton(kStripConfirmOrCreate, 0);
    EXPECT_EQ(draft().account(), 2);
}

TEST_F(EntrySaveTest, AnAmountInAnotherCurrencyIsKeptWithItsConversionAtTheRateOfTheDate) {
    struct Case {
        int32_t account;
        const char16_t* currency;  // picked on the calculator
        const char16_t* typed;
        bool negated;     // the calculator's sign key pressed after typing
        int64_t entered;  // the draft's amount (no category: its sign as typed)
        int64_t converted;
        const char16_t* accountCurrency;
    };
    const Case kCases[] = {
        {1, u"EUR", u"100", false, 10000, 8000, u"USD"},       // a euro is 0.80 dollars
        {kEuroAccount, u"USD", u"0.02", false, 2, 3, u"EUR"},  // 2.5 hundredths, rounded away from 0
        {kEuroAccount, u"USD", u"0.02", true, -2, -3, u"EUR"},
        {1, u"USD", u"7", false, 700, 700, u"USD"},  // the account's own currency: no conversion
    };
    tapStripButton(kStripConfirmOrCreate, 2);
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "account " << c.account << " amount " << c.entered);
        choose(ListKind::Accounts, c.account);
        tapField(2);
        type(c.typed);
        if (c.negated) SendMessageW(m_window->calculator().window(), WM_CALCULATOR_CHANGE_SIGN, 0, 0);
        pickCurrency(c.currency);
        confirm();
        EXPECT_EQ(draft().amount(), c.entered);
        const std::vector<dove::TransactionRecord> before = storedTransactions();
        tapFormButton(0);
        std::vector<dove::TransactionRecord> added = addedSince(before);
        ASSERT_EQ(added.size(), 1u);
        const dove::TransactionRecord& saved = added[0];
        EXPECT_EQ(saved.account(), c.account);
        EXPECT_EQ(saved.amount(), c.converted);
        EXPECT_EQ(saved.currency(), c.accountCurrency);
        const bool converted = std::u16string(c.currency) != c.accountCurrency;
        EXPECT_EQ(saved.enteredAmount(), converted ? c.entered : 0);
        EXPECT_EQ(saved.text(dove::tx::kEnteredCurrency), converted ? c.currency : u"");
        if (converted) {
            EXPECT_DOUBLE_EQ(rateOf(saved), c.account == 1 ? 0.8 : 1.25);
        }
        tapStripButton(kStripConfirmOrCreate, 2);
    }
}

TEST_F(EntrySaveTest, AFailedWriteShowsMessage27KeepsTheDraftAndTheNextSaveIsWritten) {
    enterMarketPurchase();
    const std::vector<dove::TransactionRecord> before = storedTransactions();
    platform::cedbFailNthOperation(1);
    platform::queueScriptedAnswer(IDOK);
    tapFormButton(0);
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Brimwell Dashel");
    EXPECT_EQ(boxes[0].text, u"Ошибка записи Проводки !");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_TRUE(addedSince(before).empty()) << "nothing written";
    EXPECT_FALSE(m_window->dataChanged());
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
    EXPECT_EQ(draft().payee(), m_freshMarket);
    EXPECT_EQ(draft().amount(), -1234);
    EXPECT_TRUE(draft().cleared());
    EXPECT_FALSE(platform::waitCursorShown());
    tapFormButton(1);  // "Записать"
    std::vector<dove::TransactionRecord> added = addedSince(before);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].amount(), -1234);
    EXPECT_EQ(added[0].cleared(), 1);
    EXPECT_EQ(m_window->window(), nullptr) << "saved, the program closes";
}

TEST_F(EntrySaveTest, WithoutAnAccountMessage26ShowsAndNothingIsWritten) {
    close();
    m_root.reset();
    m_root.emplace();  // a store without accounts
    open();
    tapStripButton(kStripConfirmOrCreate, 2);
    platform::queueScriptedAnswer(IDOK);
    tapFormButton(1);
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(
        boxes[0].text,
        u"Чтобы использовать Brimwell Dashel Вам необходимо запустить Brimwell и создать хотябы один Счет "
        u"и Плательщик.");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_TRUE(storedTransactions().empty());
    EXPECT_NE(m_window->window(), nullptr);
    EXPECT_FALSE(m_window->dataChanged());
}

TEST_F(EntrySaveTest, AnAccountDeletedSinceTheEntryBeganIsNoAccount) {
    enterMarketPurchase();
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    accounts.saveSort();
    ASSERT_TRUE(accounts.ensureSort(104, dove::SortKind::I4));
    ASSERT_TRUE(accounts.seekFirstEqual(draft().account()));
    ASSERT_TRUE(accounts.deleteAt(accounts.position()));
    accounts.restoreSort();
    const size_t before = storedTransactions().size();
    platform::queueScriptedAnswer(IDOK);
    tapFormButton(0);
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.substr(0, 20), u"Чтобы использовать B");
    EXPECT_EQ(storedTransactions().size(), before);
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form) << "the entry stays";
    EXPECT_FALSE(m_window->dataChanged());
}

TEST_F(EntrySaveTest, WhileTheSettingsPageShowsTheStripsCommandsDoNothing) {
    tapStripButton(kStripConfirmOrCreate, 2);
    SendMessageW(mainWindow(), WM_COMMAND, kCmdSettings,
                 reinterpret_cast<LPARAM>(m_window->headerBar().window()));
    ASSERT_EQ(m_window->page(), kPageSettings);
    const size_t before = storedTransactions().size();
    for (UINT command : {kCmdSaveAndNew, kCmdSave, kCmdExit, kCmdOk, kCmdClose})
        SendMessageW(mainWindow(), WM_COMMAND, command, 0);
    platform::testing::pumpMessages();
    EXPECT_NE(m_window->window(), nullptr) << "exit does nothing on the settings page";
    EXPECT_EQ(m_window->page(), kPageSettings);
    EXPECT_EQ(storedTransactions().size(), before);
    EXPECT_TRUE(platform::takeMessageBoxes().empty());
}

TEST_F(EntrySaveTest, DataChangedElsewhereMakesEveryListReadItsRecordsAgain) {
    tapStripButton(kStripConfirmOrCreate, 2);
    const ListKind kinds[] = {ListKind::Accounts, ListKind::Categories, ListKind::Projects, ListKind::Payees};
    const int fields[] = {3, 4, 5, 0};
    for (int i = 0; i < 4; ++i)
        openField(fields[i]);
    int loads[4];
    for (int i = 0; i < 4; ++i)
        loads[i] = list(kinds[i]).loads();
    // The finance manager added a currency: the calculator's currency field offers it after the message.
    ASSERT_NE(
        dove::tableCursor(dove::Table::Currencies)
            .addRecord({dove::PropertyValue::i4(302, 3), dove::PropertyValue::string(301, u"GBP"),
                        dove::PropertyValue::string(303, u"L"), dove::PropertyValue::string(304, u"GBP")}),
        0u);
    auto offersPounds = [this] {
        const std::vector<ListItem>& rows =
            m_window->calculator().currencyField().comboBox().dropList().view().items();
        return std::any_of(rows.begin(), rows.end(), [](const ListItem& row) { return row.text == u"GBP"; });
    };
    EXPECT_FALSE(offersPounds());
    SendMessageW(mainWindow(), kMsgDataChanged, 0, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(list(kinds[i]).loaded()) << i;
        openField(fields[i]);
        EXPECT_EQ(list(kinds[i]).loads(), loads[i] + 1) << i;
    }
    EXPECT_TRUE(offersPounds());
}

}  // namespace
}  // namespace shelltest
