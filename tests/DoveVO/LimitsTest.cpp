// The limits of amounts and dates: a write whose amount, running balance, account balance, budget total
// or project total would leave the range of an amount, or whose date would pass the end of 9999, is
// refused as out of range with nothing written.
#include "Budgets.h"
#include "Operation.h"
#include "StoreFixture.h"
#include "TransactionStore.h"

namespace dove::testing {
namespace {

// The largest amount a user can type: 9999999999999999.99.
constexpr Amount kLargest = 999'999'999'999'999'999;

class LimitsTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        addAccount({9});
        addAccount({11, u"EUR"});
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        setDefaultCurrency(u"USD");
        addRate(u"USD", u"EUR", march(1), u"2");
    }

    // Saves a new transaction that must be refused as out of range, with the store left as it was.
    void expectRefused(Amount amount, Date date, int32_t category = 0, int32_t account = 7,
                       int32_t project = 0) {
        const std::string before = dumpStore();
        TransactionRecord r;
        r.setAccount(account);
        r.setAmount(amount);
        r.setDate(date);
        r.setCategory(category);
        r.setProject(project);
        r.setCurrency(accountCurrencyForTest(account));
        EXPECT_EQ(addNewTransaction(r), StoreStatus::OutOfRange);
        EXPECT_EQ(dumpStore(), before);
    }
};

TEST_F(LimitsTest, TheAddThatWouldOverflowTheBalanceIsRefusedAndNothingWraps) {
    for (int day = 1; day <= 9; ++day)
        pay(7, kLargest, march(day));
    EXPECT_EQ(storedAccountBalance(7), 9 * kLargest);
    expectRefused(kLargest, march(10));
    // Before the others too: the pass from it would carry every later balance past the range.
    expectRefused(kLargest, dateOf(2009, 1, 1));
    // Payments bring the balance down again, and it can rise once more.
    pay(7, -kLargest, march(11));
    pay(7, kLargest, march(12));
    EXPECT_EQ(storedAccountBalance(7), 9 * kLargest);
    EXPECT_EQ(recalculated(7), 9 * kLargest);
}

TEST_F(LimitsTest, AStartingBalanceBeyondTheRangeFailsThePassWithNothingWritten) {
    addAccount({13, u"USD", INT64_MAX, 1});
    const std::string before = dumpStore();
    StoreStatus status = StoreStatus::Ok;
    EXPECT_EQ(Operation::recalcBalanse(13, 0, false, status), 0);
    EXPECT_EQ(status, StoreStatus::OutOfRange);
    EXPECT_EQ(dumpStore(), before);
}

TEST_F(LimitsTest, ATransferWhoseOtherSideCannotHoldItsAmountIsRefused) {
    // The other side of the smallest amount would be its negation, one more than the largest.
    expectRefused(INT64_MIN, march(1), -9);
    // 2 EUR to the dollar: the other side of 5 * 10^18 dollars is twice too large.
    expectRefused(5'000'000'000'000'000'000, march(1), -11);
    transfer(7, 11, -4'000'000'000'000'000'000, march(2));
    EXPECT_EQ(storedAccountBalance(11), 8'000'000'000'000'000'000);
}

TEST_F(LimitsTest, ABudgetTotalThatWouldOverflowIsRefused) {
    TableCursor& categories = tableCursor(Table::Categories);
    ASSERT_NE(categories.addRecord({PropertyValue::i4(401, 2), PropertyValue::i4(203, 1),
                                    PropertyValue::i4(430, 2), PropertyValue::string(110, u"Food")}),
              0u);
    ASSERT_NE(tableCursor(Table::Budgets).addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(504, 0)}),
              0u);
    ASSERT_NE(tableCursor(Table::BudgetLists)
                  .addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(401, 2), PropertyValue::i4(402, 1),
                              PropertyValue::string(135, u"{food}"),
                              PropertyValue::date(417, static_cast<uint64_t>(INT64_MIN + 500))}),
              0u);
    expectRefused(-1000, march(2), 2);
    pay(7, -500, march(2), 2);
}

TEST_F(LimitsTest, AProjectTotalThatWouldOverflowIsRefusedAndNotStored) {
    const int32_t project = madeProject(1, u"House");
    pay(7, kLargest * 5, march(1), 0, project);
    pay(9, kLargest * 5, march(1), 0, project);
    const std::string before = dumpStore();
    ProjectTotals totals;
    EXPECT_EQ(projectTotals(project, totals), StoreStatus::OutOfRange);
    EXPECT_EQ(dumpStore(), before);
}

TEST_F(LimitsTest, DatesPastTheEndOf9999AreRefused) {
    const Date last = dateOf(9999, 12, 31, 23, 59, 59, 999);
    expectRefused(-100, kLastDate + 1);
    TransactionRecord kept = pay(7, -100, last);
    EXPECT_EQ(kept.identifier(), u"7_99991231235959999");
    // The same moment is taken: the next free one would lie in the year 10000.
    expectRefused(-100, last);
}

}  // namespace
}  // namespace dove::testing
