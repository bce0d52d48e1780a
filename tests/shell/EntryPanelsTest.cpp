// The calculator and the date picker as the entry form's panels: each opens on the draft's value (the
// amount in its currency, the date or today), OK takes the value back, the currency only when the user
// picked one, and a change of the store's currencies elsewhere refills the currency field.
#include "CurrencyCache.h"
#include "EntryFixture.h"
#include "FinanceStore.h"
#include "ShellCommands.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

class EntryPanelsTest : public EntryTest {
  protected:
    void SetUp() override {
        EntryTest::SetUp();
        openOnEntryStore();
        tapStripButton(kStripConfirmOrCreate, 2);  // from the payee list to the field panel
    }
    Calculator& calculator() { return m_window->calculator().calculator(); }
    CurrencyField& currencyField() { return m_window->calculator().currencyField(); }
    DatePicker& picker() { return m_window->datePicker().picker(); }
    std::u16string shownCurrency() {
        const ListItem* row = currencyField().comboBox().currentItem();
        return row != nullptr ? row->text : u"";
    }
};

TEST_F(EntryPanelsTest, TheCalculatorShowsTheDraftsAmountAndTakesItBackWithAPickedCurrency) {
    choose(ListKind::Payees, m_freshMarket);  // Savings (USD), Groceries, 65.00 as a payment
    tapField(2);
    EXPECT_EQ(calculator().engine().display(), u"-65.00");
    EXPECT_EQ(shownCurrency(), u"USD");
    type(u"120");
    pickCurrency(u"EUR");
    EXPECT_EQ(shownCurrency(), u"EUR");
    confirm();
    EXPECT_EQ(m_window->entryMode(), EntryMode::Form);
    EXPECT_EQ(draft().amount(), -12000) << "an expense category keeps the amount a payment";
    EXPECT_EQ(draft().currency(), kEuros);
    EXPECT_TRUE(draft().currencySetByUser());
    EXPECT_TRUE(draft().amountSetByUser());
    EXPECT_EQ(m_window->fieldPanel().fieldText(2), dove::currencyText(-12000, u"EUR", false, true));
    // The picked currency stays when the account changes; the calculator opens on it.
    choose(ListKind::Accounts, 1);
    EXPECT_EQ(draft().currency(), kEuros);
    tapField(2);
    EXPECT_EQ(shownCurrency(), u"EUR");
    EXPECT_EQ(calculator().engine().display(), u"-120.00");
}

TEST_F(EntryPanelsTest, WithoutAPickTheAmountsCurrencyKeepsFollowingTheAccount) {
    tapField(2);
    type(u"7");
    confirm();
    EXPECT_EQ(draft().amount(), 700);
    EXPECT_FALSE(draft().currencySetByUser());
    choose(ListKind::Accounts, kEuroAccount);
    EXPECT_EQ(draft().currency(), kEuros);
    tapField(2);
    EXPECT_EQ(shownCurrency(), u"EUR");
    // Closing the calculator takes nothing.
    type(u"99");
    tapStripButton(kStripConfirm, 1);
    EXPECT_EQ(draft().amount(), 700);
}

TEST_F(EntryPanelsTest, TheDevicesUpKeyOpensTheCurrencyListAndATapOutsideKeepsTheCurrency) {
    tapField(2);
    SendMessageW(calculator().window(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(currencyField().comboBox().isOpen());
    RECT header = screenRect(m_window->headerBar().window());
    tapAt(POINT{header.left + 5, header.top + 5});
    EXPECT_FALSE(currencyField().comboBox().isOpen());
    EXPECT_EQ(shownCurrency(), u"USD");
    confirm();
    EXPECT_FALSE(draft().currencySetByUser());
}

TEST_F(EntryPanelsTest, CurrenciesChangedElsewhereAreReadAgainAndTheShownOneStays) {
    tapField(2);
    pickCurrency(u"EUR");
    ASSERT_TRUE(dove::tableCursor(dove::Table::Currencies)
                    .addRecord({dove::PropertyValue::i4(302, 3), dove::PropertyValue::string(301, u"RUR"),
                                dove::PropertyValue::string(303, u"r")}) != 0);
    EXPECT_EQ(currencyField().comboBox().dropList().view().count(), 2);
    SendMessageW(mainWindow(), kMsgDataChanged, 0, 0);
    EXPECT_EQ(currencyField().comboBox().dropList().view().count(), 3);
    EXPECT_EQ(shownCurrency(), u"EUR");
    confirm();
    EXPECT_EQ(draft().currency(), kEuros) << "a pick made before the reload is still the user's";
}

TEST_F(EntryPanelsTest, ThePickerOpensOnTodayOrTheDraftsDateAndTakesTheDayChosen) {
    SYSTEMTIME today{};
    GetLocalTime(&today);
    tapField(1);
    EXPECT_EQ(picker().day(), today.wDay);
    EXPECT_EQ(picker().month(), today.wMonth);
    EXPECT_EQ(picker().year(), today.wYear);
    // The first of the month two years back.
    picker().field(kDayField).setValue(1);
    picker().field(kYearField).setValue(today.wYear - 2);
    confirm();
    SYSTEMTIME chosen{};
    chosen.wYear = static_cast<WORD>(today.wYear - 2);
    chosen.wMonth = today.wMonth;
    chosen.wDay = 1;
    EXPECT_EQ(draft().date(), dove::dateFromFields(chosen)) << "the day at 00:00";
    EXPECT_EQ(m_window->fieldPanel().fieldText(1), dove::shortDateText(dove::dateFromFields(chosen)));
    // Opened again, the picker shows the draft's date; closing it takes nothing.
    tapField(1);
    EXPECT_EQ(picker().year(), today.wYear - 2);
    EXPECT_EQ(picker().day(), 1);
    picker().field(kDayField).setValue(2);
    tapStripButton(kStripConfirm, 1);
    EXPECT_EQ(draft().date(), dove::dateFromFields(chosen));
}

}  // namespace
}  // namespace shelltest
