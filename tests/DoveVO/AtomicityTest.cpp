// One save or delete is one store transaction: a write failure injected at every step leaves every
// table exactly as it was, the record in memory as it was, no change signalled, and the next save works.
#include <unistd.h>

#include <functional>
#include <optional>

#include "Budgets.h"
#include "FinanceStore.h"
#include "NotificationBlock.h"
#include "Operation.h"
#include "Options.h"
#include "Payees.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

class AtomicityTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7, u"USD", 1000});
        addAccount({9, u"EUR", 0});
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        setDefaultCurrency(u"USD");
        addRate(u"USD", u"EUR", march(1), u"0.8");
        TableCursor& budgets = tableCursor(Table::Budgets);
        ASSERT_NE(budgets.addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(504, kExpenseBudget)}), 0u);
        TableCursor& lines = tableCursor(Table::BudgetLists);
        ASSERT_NE(lines.addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(401, 1 + 1),
                                   PropertyValue::i4(402, 1), PropertyValue::string(135, u"{line}"),
                                   PropertyValue::date(417, 0)}),
                  0u);
        addCategoryTwo();
        pay(7, -100, march(1, 9), 2);
        pay(7, -200, march(2, 9), 2);
        pay(9, 300, march(2, 10));
    }

    void addCategoryTwo() {
        TableCursor& categories = tableCursor(Table::Categories);
        ASSERT_NE(categories.addRecord({PropertyValue::i4(401, 2), PropertyValue::i4(203, 1),
                                        PropertyValue::i4(430, 2), PropertyValue::string(110, u"Food")}),
                  0u);
    }

    // Runs operation with a failure injected at each write in turn until it succeeds, checking that every
    // failed attempt left the store and the record untouched. Returns the number of failing steps seen.
    int failEveryStep(const std::function<TransactionRecord()>& prepare,
                      const std::function<StoreStatus(TransactionRecord&)>& operation) {
        for (int n = 1; n < 200; ++n) {
            TransactionRecord record = prepare();
            const TransactionRecord before = record;
            const std::string dump = dumpStore();
            const uint32_t counter = transactionsChangeCounter();
            platform::cedbFailNthOperation(static_cast<unsigned>(n));
            const StoreStatus status = operation(record);
            platform::cedbFailNthOperation(0);
            if (status == StoreStatus::Ok) return n - 1;
            EXPECT_EQ(status, StoreStatus::WriteFailed) << "failure at write " << n;
            EXPECT_EQ(dumpStore(), dump) << "failure at write " << n;
            EXPECT_EQ(record.identifier(), before.identifier());
            EXPECT_EQ(record.anythingSet(), before.anythingSet());
            EXPECT_EQ(transactionsChangeCounter(), counter);
        }
        ADD_FAILURE() << "the operation never succeeded";
        return 0;
    }

    TransactionRecord loadFirstOf(int32_t account) {
        for (const Row& r : transactionRows())
            if (r.account == account) {
                TransactionRecord record;
                EXPECT_TRUE(loadTransactionByIdentifier(record, r.id));
                return record;
            }
        return TransactionRecord();
    }
};

TEST_F(AtomicityTest, ANewTransferBetweenCurrenciesIsAllOrNothing) {
    const int steps = failEveryStep(
        [] {
            TransactionRecord r;
            r.setAccount(7);
            r.setCurrency(u"USD");
            r.setAmount(-5000);
            r.setDate(march(1, 8));
            r.setCategory(-9);
            return r;
        },
        [](TransactionRecord& r) { return addNewTransaction(r); });
    EXPECT_GT(steps, 5);
    EXPECT_EQ(storedAccountBalance(7), 1000 - 100 - 200 - 5000);
    EXPECT_EQ(storedAccountBalance(9), 300 + 4000);
}

TEST_F(AtomicityTest, EditingAPaymentWithABudgetLineIsAllOrNothing) {
    const int steps = failEveryStep(
        [this] {
            TransactionRecord r = loadFirstOf(7);
            r.setAmount(-700);
            r.setDate(march(3, 9));
            return r;
        },
        [](TransactionRecord& r) { return saveTransaction(r); });
    EXPECT_GT(steps, 3);
    EXPECT_EQ(storedAccountBalance(7), 1000 - 200 - 700);
    TableCursor& lines = tableCursor(Table::BudgetLists);
    ASSERT_TRUE(lines.ensureSort(135, SortKind::String) && lines.seekFirstEqual(std::u16string(u"{line}")));
    EXPECT_EQ(lines.get64(417), -900);
}

TEST_F(AtomicityTest, DeletingATransferWithADeletionReportIsAllOrNothing) {
    TransactionRecord t;
    t.setAccount(7);
    t.setCurrency(u"USD");
    t.setAmount(-1000);
    t.setDate(march(4, 8));
    t.setCategory(-9);
    ASSERT_EQ(addNewTransaction(t), StoreStatus::Ok);
    const std::u16string id = t.identifier();
    setApplicationProfileForTesting(ApplicationProfile{u"Desktop", u""});
    const int steps = failEveryStep(
        [&] {
            TransactionRecord r;
            EXPECT_TRUE(loadTransactionByIdentifier(r, id));
            return r;
        },
        [](TransactionRecord& r) { return deleteTransaction(r); });
    setApplicationProfileForTesting(std::nullopt);
    EXPECT_GT(steps, 3);
    EXPECT_EQ(transactionRows().size(), 3u);
    EXPECT_EQ(tableCursor(Table::DeletedItems).recordCount(), 2);
    EXPECT_EQ(storedAccountBalance(9), 300);
}

TEST_F(AtomicityTest, MovingASplitOwnerWithATransferLineIsAllOrNothing) {
    TransactionRecord owner;
    owner.setAccount(7);
    owner.setCurrency(u"USD");
    owner.setAmount(-3000);
    owner.setDate(march(4, 8));
    std::vector<TransactionRecord> lines(2);
    lines[0].setCategory(2);
    lines[0].setAmount(-1000);
    lines[1].setCategory(-9);
    lines[1].setAmount(-2000);
    owner.setSplits(std::move(lines));
    ASSERT_EQ(addNewTransaction(owner), StoreStatus::Ok);
    const std::u16string id = owner.identifier();
    const int steps = failEveryStep(
        [&] {
            TransactionRecord r;
            EXPECT_TRUE(loadTransactionByIdentifier(r, id));
            r.setDate(march(3, 7));
            return r;
        },
        [](TransactionRecord& r) { return saveTransaction(r); });
    EXPECT_GT(steps, 5);
    int lines2 = 0;
    for (const Row& r : transactionRows()) {
        if (r.id.rfind(u"s7_20100303", 0) == 0) ++lines2;
        if (r.kind == kKindSplitTransfer) {
            EXPECT_EQ(r.link.rfind(u"s7_20100303", 0), 0u);
        }
    }
    EXPECT_EQ(lines2, 2);
}

TEST_F(AtomicityTest, AProcessDyingInTheMiddleOfASaveLeavesTheStoreAsItWas) {
    TransactionRecord t;
    t.setAccount(7);
    t.setCurrency(u"USD");
    t.setAmount(-1000);
    t.setDate(march(4, 8));
    t.setCategory(-9);
    t.setPayeeName(u"Nobody");
    ASSERT_EQ(addNewTransaction(t), StoreStatus::Ok);
    const std::u16string id = t.identifier();
    const std::string before = dumpStore();
    closeFinanceStore();
    platform::cedbCloseStore();
    const int status = platform::testing::runInChild([&] {
        if (!openFinanceStore()) return 1;
        TransactionRecord r;
        if (!loadTransactionByIdentifier(r, id)) return 2;
        // The other side is read back by name once this side is written: the process ends right there.
        setPayeeLookupHook([](const std::u16string&) -> std::optional<int32_t> { _exit(42); });
        r.setAmount(-7000);
        return saveTransaction(r) == StoreStatus::Ok ? 3 : 4;
    });
    EXPECT_EQ(status, 42);
    ASSERT_TRUE(openFinanceStore());
    EXPECT_EQ(dumpStore(), before);
}

TEST_F(AtomicityTest, ChangeSignalsWaitForTheCommit) {
    ASSERT_TRUE(createNotificationBlock());
    HANDLE reader =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 24, kNotificationBlockName);
    auto* words = static_cast<uint32_t*>(MapViewOfFile(reader, FILE_MAP_WRITE, 0, 0, 24));
    ASSERT_NE(words, nullptr);
    words[4] = 0;
    platform::cedbFailNthOperation(2);
    TransactionRecord r;
    r.setAccount(7);
    r.setAmount(-1);
    r.setDate(march(4));
    EXPECT_EQ(addNewTransaction(r), StoreStatus::WriteFailed);
    platform::cedbFailNthOperation(0);
    EXPECT_EQ(words[4], 0u);
    EXPECT_EQ(addNewTransaction(r), StoreStatus::Ok);
    EXPECT_EQ(words[4], 1u);
    EXPECT_EQ(words[3], 0u);
    UnmapViewOfFile(words);
    CloseHandle(reader);
    closeNotificationBlock();
}

}  // namespace
}  // namespace dove::testing
