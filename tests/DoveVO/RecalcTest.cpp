// The balance recalculation against sums computed here: starting balances, offsets, excluded records,
// interleaved account numbers, idempotence and security holdings.
#include <fstream>
#include <sstream>

#include "Operation.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

class RecalcTest : public StoreTest {
  protected:
    // Adds a record directly (no save path), with a deliberately wrong running balance.
    void addRaw(int32_t account, Date date, Amount amount, int32_t excluded = 0,
                const std::u16string& security = {}, int32_t units = 0) {
        std::vector<PropertyValue> values = {PropertyValue::string(101, transactionIdentifier(account, date)),
                                             PropertyValue::i4(104, account),
                                             PropertyValue::date(108, date),
                                             PropertyValue::date(112, static_cast<uint64_t>(amount)),
                                             PropertyValue::date(113, 999999),
                                             PropertyValue::i4(132, excluded)};
        if (!security.empty()) {
            values.push_back(PropertyValue::string(139, security));
            values.push_back(PropertyValue::i4(140, units));
        }
        ASSERT_NE(tableCursor(Table::Transactions).addRecord(values), 0u);
    }

    std::vector<Amount> balancesOf(int32_t account) {
        std::vector<Amount> out;
        for (const Row& r : transactionRows())
            if (r.account == account) out.push_back(r.balance);
        return out;
    }
};

TEST_F(RecalcTest, AnAccountWithoutTransactionsHasItsStartingBalance) {
    addAccount({7, u"USD", 1000, 250});
    EXPECT_EQ(recalculated(7, 0), 1250);
    EXPECT_EQ(storedAccountBalance(7), 1250);
    StoreStatus status = StoreStatus::Ok;
    EXPECT_EQ(Operation::recalcBalanse(0, 0, false, status), 0);
    EXPECT_EQ(status, StoreStatus::NoAccount);
}

TEST_F(RecalcTest, AMissingAccountIsLoggedAndGivesZero) {
    StoreStatus status = StoreStatus::Ok;
    EXPECT_EQ(Operation::recalcBalanse(42, 0, false, status), 0);
    EXPECT_EQ(status, StoreStatus::AccountMissing);
    std::ifstream in(platform::hostPath(u"\\error.log"));
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("Account 42 not found in Operation::recalcBalanse\t\tDoveVO/Operation:  (3140)"),
              std::string::npos);
}

TEST_F(RecalcTest, RunningBalancesMatchIndependentSumsAndAccountTwelveIsUntouched) {
    addAccount({1, u"USD", 100});
    addAccount({12, u"USD", 0});
    const Amount amounts[] = {-50, 200, -1, 4000, -333};
    for (int i = 0; i < 5; ++i) {
        addRaw(1, march(1 + i, 9), amounts[i]);
        addRaw(12, march(1 + i, 10), 7);
    }
    EXPECT_EQ(recalculated(1, 0), 100 - 50 + 200 - 1 + 4000 - 333);
    Amount running = 100;
    std::vector<Amount> expected;
    for (Amount a : amounts)
        expected.push_back(running += a);
    EXPECT_EQ(balancesOf(1), expected);
    EXPECT_EQ(balancesOf(12), std::vector<Amount>(5, 999999));
    const uint32_t writes = tableCursor(Table::Transactions).writeCount();
    recalculated(1, 0);
    EXPECT_EQ(tableCursor(Table::Transactions).writeCount(), writes);
}

TEST_F(RecalcTest, AnOffsetStartsFromTheStoredBalanceBeforeIt) {
    addAccount({7});
    addRaw(7, march(1), -100);
    addRaw(7, march(2), -200);
    addRaw(7, march(3), -300);
    recalculated(7, 0);
    TableCursor& t = tableCursor(Table::Transactions);
    ASSERT_TRUE(t.seekFirstEqual(transactionIdentifier(7, march(1))));
    ASSERT_TRUE(t.set64(113, -5000));  // a stale earlier balance is reused, not recomputed
    EXPECT_EQ(recalculated(7, 1), -5500);
    EXPECT_EQ(balancesOf(7), (std::vector<Amount>{-5000, -5200, -5500}));
    // An offset beyond the last record starts at the last record.
    EXPECT_EQ(recalculated(7, 50), -5500);
}

TEST_F(RecalcTest, ExcludedRecordsNeitherCountNorServeAsTheStartingValue) {
    addAccount({7, u"USD", 1000});
    addRaw(7, march(1), -100);
    addRaw(7, march(2), -200, 1);
    addRaw(7, march(3), -300);
    recalculated(7, 0);
    EXPECT_EQ(balancesOf(7), (std::vector<Amount>{900, 900, 600}));
    TableCursor& t = tableCursor(Table::Transactions);
    ASSERT_TRUE(t.seekFirstEqual(transactionIdentifier(7, march(2))));
    ASSERT_TRUE(t.set64(113, 123456));
    EXPECT_EQ(recalculated(7, 2), 600);
}

TEST_F(RecalcTest, SecuritiesCountUnitsAndOverflowIsLoggedOnce) {
    addAccount({5, u"USD", 0, 0, 5});
    TableCursor& accounts = tableCursor(Table::Accounts);
    ASSERT_TRUE(accounts.ensureSort(104, SortKind::I4) && accounts.seekFirstEqual(5));
    ASSERT_TRUE(accounts.setString(174, u"YAcme\nI1.500000\nB10\nQ3\n^\n", true));
    addRaw(5, march(1), 0, 0, u"Acme", 5);
    for (int i = 0; i < 101; ++i)
        addRaw(5, march(2) + static_cast<Date>(i) * kDateSecond, 0, 0, platform::format(u"S%03d", i), 1);
    recalculated(5, 0);
    ASSERT_TRUE(accounts.seekFirstEqual(5));
    std::vector<Security> held = parseSecurities(accounts.getString(174));
    ASSERT_EQ(held.size(), 101u);
    EXPECT_EQ(held[0].name, u"Acme");
    EXPECT_EQ(held[0].quantity, 15);
    EXPECT_EQ(held[0].baseQuantity, 10);
    EXPECT_EQ(held[100].name, u"S099");
    std::ifstream in(platform::hostPath(u"\\error.log"));
    std::stringstream log;
    log << in.rdbuf();
    const std::string text = log.str();
    const size_t first = text.find("Overflow Sec vector size in RecalcBalanse");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("Overflow Sec vector size", first + 1), std::string::npos);
}

// A record saved after every other of its account gets its balance with its write; a pass from it
// afterwards agrees and writes nothing.
TEST_F(RecalcTest, AnAppendedRecordsBalanceIsWhatAPassGives) {
    addAccount({7, u"USD", 1000, 50});
    addRaw(7, march(1), -100);
    addRaw(7, march(2), -7, 1);
    recalculated(7, 0);
    TableCursor& t = tableCursor(Table::Transactions);
    ASSERT_TRUE(t.seekFirstEqual(transactionIdentifier(7, march(1))));
    ASSERT_TRUE(t.set64(113, 400));  // the stored balance before the new records is what counts
    TransactionRecord excluded;
    excluded.setAccount(7);
    excluded.setAmount(-20);
    excluded.setDate(march(3));
    excluded.setI4(tx::kExcluded, 1);
    ASSERT_EQ(addNewTransaction(excluded), StoreStatus::Ok);
    EXPECT_EQ(excluded.runningBalance(), 400);
    TransactionRecord last = pay(7, -300, march(4));
    EXPECT_EQ(last.runningBalance(), 100);
    EXPECT_EQ(storedAccountBalance(7), 100);
    EXPECT_EQ(balancesOf(7), (std::vector<Amount>{400, 950, 400, 100}));
    const uint32_t writes = t.writeCount() + tableCursor(Table::Accounts).writeCount();
    EXPECT_EQ(recalculated(7, 2), 100);
    EXPECT_EQ(t.writeCount() + tableCursor(Table::Accounts).writeCount(), writes);
}

// Account 1's identifiers sort right after account 12's: the last of account 12 is followed by them.
TEST_F(RecalcTest, AnAppendedRecordBeforeAnotherAccountsRecordsCountsOnlyItsOwn) {
    addAccount({1, u"USD", 500});
    addAccount({12, u"USD", 1200});
    pay(1, -5, march(1));
    pay(12, -20, march(2));
    TransactionRecord second = pay(12, -30, march(3));
    EXPECT_EQ(second.runningBalance(), 1150);
    EXPECT_EQ(storedAccountBalance(12), 1150);
    EXPECT_EQ(storedAccountBalance(1), 495);
    EXPECT_EQ(balancesOf(1), std::vector<Amount>{495});
}

class HoldingsTest : public RecalcTest {
  protected:
    // Investment account 5 holding 10 Acme at its base, bought 5 on 1 March and 3 on 2 March, with a
    // record without a security on 3 March; one full pass brings the holdings to 18.
    void SetUp() override {
        RecalcTest::SetUp();
        addAccount({5, u"USD", 0, 0, 5});
        TableCursor& accounts = tableCursor(Table::Accounts);
        ASSERT_TRUE(accounts.ensureSort(104, SortKind::I4) && accounts.seekFirstEqual(5));
        ASSERT_TRUE(accounts.setString(174, u"YAcme\nI1.500000\nB10\nQ10\n^\n", true));
        addRaw(5, march(1), -500, 0, u"Acme", 5);
        addRaw(5, march(2), -300, 0, u"Acme", 3);
        addRaw(5, march(3), 20);
        recalculated(5, 0);
        ASSERT_EQ(acme(), 18);
    }

    static int32_t acme() {
        TableCursor& accounts = tableCursor(Table::Accounts);
        if (!accounts.ensureSort(104, SortKind::I4) || !accounts.seekFirstEqual(5)) return -1;
        for (const Security& s : parseSecurities(accounts.getString(174)))
            if (s.name == u"Acme") return s.quantity;
        return -1;
    }
};

TEST_F(HoldingsTest, APartialPassContinuesFromTheHoldingsBeforeItsStart) {
    EXPECT_EQ(recalculated(5, 1), -780);
    EXPECT_EQ(acme(), 18);
    EXPECT_EQ(recalculated(5, 2), -780);
    EXPECT_EQ(acme(), 18);
}

TEST_F(HoldingsTest, SavesAndDeletesInTheMiddleKeepTheHoldingsWhole) {
    TransactionRecord buy;
    buy.setAccount(5);
    buy.setDate(march(2, 12));
    buy.setAmount(-100);
    buy.setText(tx::kSecurity, u"Acme");
    buy.setI4(tx::kUnitsChange, 2);
    ASSERT_EQ(addNewTransaction(buy), StoreStatus::Ok);
    EXPECT_EQ(acme(), 20);
    TransactionRecord first;
    ASSERT_TRUE(loadTransactionByIdentifier(first, transactionIdentifier(5, march(1))));
    ASSERT_EQ(deleteTransaction(first), StoreStatus::Ok);
    EXPECT_EQ(acme(), 15);
    // With no record naming it after the one deleted, the holding falls back to its base.
    ASSERT_EQ(deleteTransaction(buy), StoreStatus::Ok);
    TransactionRecord second;
    ASSERT_TRUE(loadTransactionByIdentifier(second, transactionIdentifier(5, march(2))));
    ASSERT_EQ(deleteTransaction(second), StoreStatus::Ok);
    EXPECT_EQ(acme(), 10);
}

}  // namespace
}  // namespace dove::testing
