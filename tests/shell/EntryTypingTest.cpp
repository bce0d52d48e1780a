// Amounts typed on the field panel, by the device's characters and the keypad's keys: the stored amount
// and the field's text after each key, the category's type turning a typed amount into a payment and
// back, and what the calculator and a payee do to the typed text.
#include "ControlMessages.h"
#include "CurrencyCache.h"
#include "EntryFixture.h"
#include "RegionalSettings.h"
#include "ShellCommands.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

class EntryTypingTest : public EntryTest {
  protected:
    void SetUp() override {
        EntryTest::SetUp();
        openOnEntryStore();
        // The typed texts below use "." as the locale's decimal separator.
        dove::RegionalSettings settings = dove::regionalSettings();
        settings.decimalSeparator = u'.';
        dove::setRegionalSettings(settings);
        tapStripButton(kStripConfirmOrCreate, 2);  // from the payee list to the field panel
    }
    std::u16string amountField() { return m_window->fieldPanel().fieldText(2); }
    std::u16string dollars(int64_t amount, bool payment) {
        return dove::currencyText(amount, u"USD", false, payment);
    }
    void keypad(std::initializer_list<WPARAM> keys) {
        for (WPARAM key : keys)
            PostMessageW(mainWindow(), WM_KEYPAD_KEY, key, 0);
        platform::testing::pumpMessages();
    }
};

TEST_F(EntryTypingTest, CharactersAndKeypadKeysTypeTheAmount) {
    struct Step {
        const char16_t* characters;  // typed on the device, or empty for keypad keys
        std::initializer_list<WPARAM> keys;
        int64_t amount;
        const char16_t* typed;
    };
    const Step kSteps[] = {
        {u"12", {}, 1200, u"12"},
        {u".", {}, 1200, u"12."},
        {u"5", {}, 1250, u"12.5"},
        {u"", {kKeypadBackspace, kKeypadBackspace}, 100, u"1"},  // "12.5" -> "12." -> "1"
        {u"", {kKeypadDecimalPoint, 0, 7}, 107, u"1.07"},
        {u"9", {}, 107, u"1.07"},  // a third decimal is ignored
        {u"\b", {}, 100, u"1.0"},
        {u"", {kKeypadClear}, 0, u"0"},
        {u",55", {}, 55, u"0.55"},
        {u"\f", {}, 0, u"0"},
        {u"", {3, 0}, 3000, u"30"},
    };
    for (const Step& step : kSteps) {
        type(step.characters);
        keypad(step.keys);
        SCOPED_TRACE(testing::Message() << "after typing to " << step.amount);
        EXPECT_EQ(draft().amount(), step.amount);
        EXPECT_TRUE(draft().typedAmount() == step.typed);
        EXPECT_EQ(amountField(), dollars(step.amount, false));
    }
    EXPECT_TRUE(draft().amountSetByUser());
}

TEST_F(EntryTypingTest, TheCategoryMakesATypedAmountAPaymentAndBack) {
    choose(ListKind::Categories, m_groceries);
    type(u"30");
    EXPECT_EQ(draft().amount(), -3000);
    EXPECT_EQ(amountField(), dollars(-3000, true)) << "shown as a payment";
    choose(ListKind::Categories, m_salary);
    EXPECT_EQ(draft().amount(), 3000);
    EXPECT_EQ(amountField(), dollars(3000, false));
    type(u"1");  // the digits typed so far stay
    EXPECT_EQ(draft().amount(), 30100);
    choose(ListKind::Categories, m_fuel);
    EXPECT_EQ(draft().amount(), -30100);
}

TEST_F(EntryTypingTest, AnExpenseWithoutAnAmountShowsAsAPayment) {
    choose(ListKind::Categories, m_groceries);
    EXPECT_EQ(draft().amount(), 0);
    EXPECT_EQ(amountField(), dollars(0, true));
}

TEST_F(EntryTypingTest, TheCalculatorStartsTheTypingAnewAndAPayeeKeepsATypedAmount) {
    type(u"45");
    tapField(2);
    EXPECT_EQ(m_window->calculator().calculator().engine().display(), u"45.00");
    type(u"8");
    confirm();
    EXPECT_EQ(draft().amount(), 800);
    EXPECT_TRUE(draft().typedAmount().empty());
    type(u"6");
    EXPECT_EQ(draft().amount(), 600) << "the typing starts from 0 again";
    choose(ListKind::Payees, m_freshMarket);  // memorized: Groceries, 65.00
    EXPECT_EQ(draft().amount(), -600) << "the typed amount stays, as the payee's category's payment";
    EXPECT_EQ(draft().category(), m_groceries);
}

TEST_F(EntryTypingTest, KeysReachTheAmountOnlyWhileTheFieldPanelShows) {
    tapField(3);  // the account list takes the keys as letters
    type(u"5");
    keypad({5});
    tapStripButton(kStripConfirm, 1);
    EXPECT_EQ(draft().amount(), 0);
    EXPECT_FALSE(draft().amountSetByUser());
    // Typed on the device while the panel has the focus, a character reaches the amount too.
    ASSERT_EQ(GetFocus(), m_window->fieldPanel().window());
    SendMessageW(GetFocus(), WM_CHAR, u'4', 0);
    EXPECT_EQ(draft().amount(), 400);
}

}  // namespace
}  // namespace shelltest
