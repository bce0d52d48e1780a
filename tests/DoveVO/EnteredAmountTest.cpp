// The entered amount of a record (121 in 122 at the rate 142) always describes the record as it stands:
// a transfer edited into one currency clears it on the other side, an amount changed without a new
// entered amount clears it, project totals (which prefer it) come out as computed by hand, and the
// store's check finds a record that an earlier edit left stale.
#include <cstring>

#include "Projects.h"
#include "StoreCheck.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

class EnteredAmountTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        addAccount({9});
        addAccount({11, u"EUR"});
        addAccount({13, u"EUR"});
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        setDefaultCurrency(u"USD");
        addRate(u"USD", u"EUR", march(1), u"0.75");
        for (int32_t account : {7, 9, 11, 13})
            recalculated(account);
    }

    static TransactionRecord loaded(const std::u16string& id) {
        TransactionRecord r;
        EXPECT_TRUE(loadTransactionByIdentifier(r, id));
        return r;
    }

    static void expectNoEnteredAmount(const TransactionRecord& r) {
        EXPECT_EQ(r.enteredAmount(), 0);
        EXPECT_EQ(r.text(tx::kEnteredCurrency), u"");
        EXPECT_EQ(r.value64(tx::kRate), 0u);
    }

    static std::vector<std::string> violations() {
        financestore::StoreSnapshot snapshot;
        EXPECT_TRUE(financestore::readSnapshot(snapshot));
        return financestore::checkStore(snapshot);
    }
};

TEST_F(EnteredAmountTest, ATransferMovedIntoTheOtherSidesCurrencyGivesProjectTotalsByHand) {
    const int32_t house = madeProject(1, u"House");
    TransactionRecord r = pay(7, -10001, march(3, 12), -11, house);
    const std::u16string otherId = r.link();
    EXPECT_EQ(loaded(otherId).enteredAmount(), 10001);
    // The paying side moves to a euro account: both sides are now in euros.
    r.setAccount(13);
    r.setCurrency(u"EUR");
    r.setAmount(-20000);
    ASSERT_EQ(saveTransaction(r), StoreStatus::Ok);
    const TransactionRecord other = loaded(r.link());
    EXPECT_EQ(other.amount(), 20000);
    EXPECT_EQ(other.currency(), u"EUR");
    expectNoEnteredAmount(other);
    // 200.00 EUR at 1 / 0.75 is 266.67 USD either way; a stale 121 of 100.01 USD would give 100.01.
    ProjectTotals totals;
    ASSERT_EQ(projectTotals(house, totals), StoreStatus::Ok);
    EXPECT_EQ(totals.ownIncome, 26667);
    EXPECT_EQ(totals.ownExpense, -26667);
    EXPECT_EQ(violations(), std::vector<std::string>());
}

TEST_F(EnteredAmountTest, ATransferRetargetedToAnAccountOfItsOwnCurrencyClearsTheOtherSide) {
    TransactionRecord r = pay(7, -10001, march(3, 12), -11);
    r.setCategory(-9);
    r.setAmount(-4000);
    ASSERT_EQ(saveTransaction(r), StoreStatus::Ok);
    const TransactionRecord other = loaded(r.link());
    EXPECT_EQ(other.account(), 9);
    EXPECT_EQ(other.amount(), 4000);
    expectNoEnteredAmount(other);
    EXPECT_EQ(violations(), std::vector<std::string>());
}

TEST_F(EnteredAmountTest, AnAmountChangedWithoutANewEnteredAmountClearsTheOldOne) {
    TransactionRecord r;
    r.setAccount(7);
    r.setCurrency(u"USD");
    r.setDate(march(2));
    r.setAmount(-1333);
    r.setEnteredAmount(-1000, u"EUR");
    const double rate = 1.0 / 0.75;
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    r.set64(tx::kRate, bits);
    ASSERT_EQ(addNewTransaction(r), StoreStatus::Ok);
    TransactionRecord edited = loaded(r.identifier());
    edited.setAmount(-1500);
    ASSERT_EQ(saveTransaction(edited), StoreStatus::Ok);
    expectNoEnteredAmount(loaded(r.identifier()));
    // Given together with a new entered amount, the entered amount stays.
    edited = loaded(r.identifier());
    edited.setAmount(-2667);
    edited.setEnteredAmount(-2000, u"EUR");
    edited.set64(tx::kRate, bits);
    ASSERT_EQ(saveTransaction(edited), StoreStatus::Ok);
    EXPECT_EQ(loaded(r.identifier()).enteredAmount(), -2000);
    EXPECT_EQ(violations(), std::vector<std::string>());
}

TEST_F(EnteredAmountTest, TheCheckFindsTheStaleFormsAnEarlierEditLeft) {
    const double rate = 0.75;
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    struct Stale {
        const char16_t* id;
        int millisecond;
        Amount amount;
        Amount entered;
        const char16_t* enteredCurrency;
        uint64_t rate;
    };
    // In its own currency but another amount; in its own currency at another rate; without a currency.
    const Stale stale[] = {{u"9_20100302000000000", 0, 4000, 10001, u"USD", bits},
                           {u"9_20100302000000001", 1, 10001, 10001, u"USD", bits},
                           {u"9_20100302000000002", 2, 10001, 10001, u"", 0}};
    for (const Stale& s : stale)
        ASSERT_NE(
            tableCursor(Table::Transactions)
                .addRecord({PropertyValue::string(tx::kIdentifier, s.id), PropertyValue::i4(tx::kAccount, 9),
                            PropertyValue::date(tx::kDate, march(2, 0, 0, 0, s.millisecond)),
                            PropertyValue::date(tx::kAmount, static_cast<uint64_t>(s.amount)),
                            PropertyValue::string(tx::kCurrency, u"USD"),
                            PropertyValue::date(tx::kEnteredAmount, static_cast<uint64_t>(s.entered)),
                            PropertyValue::string(tx::kEnteredCurrency, s.enteredCurrency),
                            PropertyValue::date(tx::kRate, s.rate)}),
            0u);
    recalculated(9);
    const std::vector<std::string> found = violations();
    ASSERT_EQ(found.size(), 3u) << ::testing::PrintToString(found);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(found[i].rfind("currency: " + platform::toUtf8(stale[i].id), 0), 0u) << found[i];
}

}  // namespace
}  // namespace dove::testing
