// The draft's amount: from the calculator or a payee's memorized entry an income or expense category
// decides the sign while a transfer or no category lets the amount's own sign decide.
#include "EntryDraft.h"
#include "FinanceStore.h"
#include "ListFixture.h"
#include "Payees.h"

namespace shelltest {
namespace {

using EntryDraftAmountTest = EntryDraftTest;

TEST_F(EntryDraftAmountTest, TheCalculatorsValueTakesTheCategorysSignOrKeepsItsOwn) {
    enum Category { kNone, kIncome, kExpense, kTransfer };
    struct Case {
        Category category;
        int64_t value;
        int64_t amount;
        bool expense;
    };
    const Case kCases[] = {
        {kNone, 1250, 1250, false},     {kNone, -1250, -1250, true},     {kIncome, 1250, 1250, false},
        {kIncome, -1250, 1250, false},  {kExpense, 1250, -1250, true},   {kExpense, -1250, -1250, true},
        {kTransfer, 1250, 1250, false}, {kTransfer, -1250, -1250, true}, {kExpense, 0, 0, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "category " << c.category << " value " << c.value);
        m_draft.reset();
        const int32_t categories[] = {0, m_salary, m_groceries, -1};
        m_draft.setCategory(categories[c.category]);
        m_draft.setAmount(c.value);
        EXPECT_EQ(m_draft.amount(), c.amount);
        EXPECT_EQ(m_draft.expense(), c.expense);
        EXPECT_TRUE(m_draft.amountSetByUser());
    }
}

TEST_F(EntryDraftAmountTest, AnAmountFromTheCalculatorIsNotReplacedByTheNextPayee) {
    m_draft.setAmount(999);
    m_draft.setPayee(m_freshMarket);  // memorized: Groceries, 65.00
    EXPECT_EQ(m_draft.category(), m_groceries);
    EXPECT_EQ(m_draft.amount(), -999) << "the user's amount, as the payee's expense";
}

TEST_F(EntryDraftAmountTest, APayeeWithoutACategoryKeepsItsPaymentAPayment) {
    dove::Payee split;
    split.name = u"Warehouse";
    split.entry.account = 1;
    split.entry.amount = -12000;  // a split entry: its categories are on its lines
    ASSERT_EQ(dove::createPayee(split), dove::StoreStatus::Ok);
    m_draft.setPayee(split.number);
    EXPECT_EQ(m_draft.category(), 0);
    EXPECT_EQ(m_draft.amount(), -12000);
    EXPECT_TRUE(m_draft.expense());
}

TEST_F(EntryDraftAmountTest, ACurrencyOfZeroIsIgnoredAndAnyOtherIsTheUsers) {
    const uint32_t before = m_draft.currency();
    m_draft.setCurrency(0);
    EXPECT_EQ(m_draft.currency(), before);
    EXPECT_FALSE(m_draft.currencySetByUser());
    m_draft.setCurrency(7);
    EXPECT_EQ(m_draft.currency(), 7u);
    EXPECT_TRUE(m_draft.currencySetByUser());
    m_draft.setAccount(2);
    EXPECT_EQ(m_draft.currency(), 7u) << "the user's currency stays with another account";
}

}  // namespace
}  // namespace shelltest
