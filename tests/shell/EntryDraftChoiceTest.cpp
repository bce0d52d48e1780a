// What the draft takes from the lists: a payee's memorized entry fills only what the user has not set,
// a category decides the expense flag and the amount's sign, a transfer keeps the sign, and chosen
// fields are marked as the user's.
#include "EntryDraft.h"
#include "FinanceStore.h"
#include "ListFixture.h"

namespace shelltest {
namespace {

using EntryDraftChoiceTest = EntryDraftTest;

TEST_F(EntryDraftChoiceTest, APayeeFillsWhatTheUserHasNotChosen) {
    m_draft.setPayee(m_freshMarket);
    EXPECT_EQ(m_draft.account(), 2);
    EXPECT_EQ(m_draft.category(), m_groceries);
    EXPECT_TRUE(m_draft.expense());
    EXPECT_EQ(m_draft.amount(), -6500);
    EXPECT_FALSE(m_draft.accountSetByUser()) << "proposed, not chosen";

    m_draft.reset();
    m_draft.setAccount(4);
    m_draft.setCategory(m_salary);
    m_draft.setPayee(m_freshMarket);
    EXPECT_EQ(m_draft.payee(), m_freshMarket);
    EXPECT_EQ(m_draft.account(), 4) << "the user's account stays";
    EXPECT_EQ(m_draft.category(), m_salary) << "the user's category stays";
    EXPECT_FALSE(m_draft.expense());
    EXPECT_EQ(m_draft.amount(), 6500) << "the memorized amount takes the income sign";

    // After a new entry the next payee may change the account again.
    m_draft.reset();
    m_draft.setPayee(m_freshMarket);
    EXPECT_EQ(m_draft.account(), 2);
}

TEST_F(EntryDraftChoiceTest, ACategoryDecidesTheSignAndATransferKeepsIt) {
    m_draft.setPayee(m_freshMarket);  // -65.00, expense
    m_draft.setCategory(m_salary);
    EXPECT_EQ(m_draft.amount(), 6500);
    m_draft.setCategory(m_fuel);
    EXPECT_EQ(m_draft.amount(), -6500);
    m_draft.setCategory(-1);  // a transfer to account 1
    EXPECT_EQ(m_draft.amount(), -6500) << "money going out stays going out";
    EXPECT_TRUE(m_draft.expense());
    m_draft.setCategory(0);
    EXPECT_FALSE(m_draft.expense());
    EXPECT_TRUE(m_draft.categorySetByUser());
}

TEST_F(EntryDraftChoiceTest, TheChosenAccountAndProjectAreMarkedAsTheUsers) {
    m_draft.setAccount(1);
    EXPECT_TRUE(m_draft.accountText() == u"Checking (USD)");
    EXPECT_TRUE(m_draft.accountSetByUser());
    m_draft.setProject(m_vacation);
    EXPECT_EQ(m_draft.project(), m_vacation);
    EXPECT_TRUE(m_draft.projectSetByUser());
}

}  // namespace
}  // namespace shelltest
