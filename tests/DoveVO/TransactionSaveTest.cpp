// Saving transactions: plain payments, transfers within and between currencies, category changes,
// split owners with transfer lines, unchanged saves, and deletes with their dependants.
#include "Options.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

class TransactionSaveTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        addAccount({9});
        addAccount({11, u"EUR"});
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        setDefaultCurrency(u"USD");
    }

    static std::optional<Row> rowOf(const std::u16string& id) {
        for (const Row& r : transactionRows())
            if (r.id == id) return r;
        return std::nullopt;
    }
};

TEST_F(TransactionSaveTest, APaymentIsStoredWithItsAccountPayeeAndIdentifier) {
    TransactionRecord r;
    r.setAccount(7);
    r.setPayee(3);
    r.setAmount(-1234);
    r.setDate(march(5, 14, 8, 9, 45));
    ASSERT_EQ(addNewTransaction(r), StoreStatus::Ok);
    EXPECT_EQ(r.identifier(), u"7_20100305140809045");
    EXPECT_FALSE(r.anythingSet());
    TransactionRecord loaded;
    ASSERT_TRUE(loadTransactionByIdentifier(loaded, r.identifier()));
    EXPECT_EQ(loaded.amount(), -1234);
    EXPECT_EQ(loaded.account(), 7);
    EXPECT_EQ(loaded.payee(), 3);
    EXPECT_EQ(loaded.i4(tx::kModifiedFlag), -1);
    EXPECT_EQ(loaded.key().size(), 38u);
    EXPECT_EQ(loaded.runningBalance(), -1234);
    EXPECT_EQ(storedAccountBalance(7), -1234);
}

TEST_F(TransactionSaveTest, SavingAnUnchangedLoadedRecordWritesNothing) {
    TransactionRecord r = pay(7, -500, march(2));
    const uint32_t writes = tableCursor(Table::Transactions).writeCount();
    const std::string before = dumpStore();
    TransactionRecord loaded;
    ASSERT_TRUE(loadTransactionByIdentifier(loaded, r.identifier()));
    ASSERT_EQ(saveTransaction(loaded), StoreStatus::Ok);
    EXPECT_EQ(tableCursor(Table::Transactions).writeCount(), writes);
    EXPECT_EQ(dumpStore(), before);
}

TEST_F(TransactionSaveTest, ATransferStoresBothSidesLinkedWithOppositeAmounts) {
    TransactionRecord r = transfer(7, 9, -5000, march(3, 12));
    auto mine = rowOf(r.identifier());
    ASSERT_TRUE(mine);
    auto other = rowOf(mine->link);
    ASSERT_TRUE(other);
    EXPECT_EQ(mine->category, -9);
    EXPECT_EQ(mine->amount, -5000);
    EXPECT_EQ(other->account, 9);
    EXPECT_EQ(other->category, -7);
    EXPECT_EQ(other->amount, 5000);
    EXPECT_EQ(other->link, r.identifier());
    EXPECT_EQ(storedAccountBalance(7), -5000);
    EXPECT_EQ(storedAccountBalance(9), 5000);
}

TEST_F(TransactionSaveTest, ATransferBetweenCurrenciesConvertsAtTheRateOfItsDate) {
    addRate(u"USD", u"EUR", march(1), u"0.75");
    TransactionRecord r = transfer(7, 11, -10001, march(3, 12));
    auto other = rowOf(rowOf(r.identifier())->link);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->account, 11);
    EXPECT_EQ(other->currency, u"EUR");
    EXPECT_EQ(other->amount, 7501);  // 100.01 * 0.75 = 75.0075, rounded half away from zero
    TransactionRecord back;
    ASSERT_TRUE(loadTransactionByIdentifier(back, other->id));
    EXPECT_EQ(back.enteredAmount(), 10001);
    EXPECT_EQ(back.text(tx::kEnteredCurrency), u"USD");
    // Saving from the euro side converts back at the inverse rate.
    back.setAmount(3000);
    ASSERT_EQ(saveTransaction(back), StoreStatus::Ok);
    EXPECT_EQ(rowOf(r.identifier())->amount, -4000);
    EXPECT_EQ(storedAccountBalance(7), -4000);
    EXPECT_EQ(storedAccountBalance(11), 3000);
}

TEST_F(TransactionSaveTest, ChangingATransferToACategoryDeletesTheOtherSide) {
    TransactionRecord r = transfer(7, 9, -5000, march(3, 12));
    ASSERT_EQ(transactionRows().size(), 2u);
    r.setCategory(5);
    ASSERT_EQ(saveTransaction(r), StoreStatus::Ok);
    auto rows = transactionRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].account, 7);
    EXPECT_EQ(rows[0].category, 5);
    EXPECT_EQ(rows[0].link, u"");
    EXPECT_EQ(storedAccountBalance(9), 0);
}

TEST_F(TransactionSaveTest, MovingATransferToAnotherAccountMovesItsOtherSide) {
    TransactionRecord r = transfer(7, 9, -5000, march(3, 12));
    r.setCategory(-11);
    addRate(u"USD", u"EUR", march(1), u"0.5");
    ASSERT_EQ(saveTransaction(r), StoreStatus::Ok);
    auto rows = transactionRows();
    ASSERT_EQ(rows.size(), 2u);
    auto other = rowOf(rowOf(r.identifier())->link);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->account, 11);
    EXPECT_EQ(other->amount, 2500);
    EXPECT_EQ(storedAccountBalance(9), 0);
    EXPECT_EQ(storedAccountBalance(11), 2500);
}

TEST_F(TransactionSaveTest, ACategoryOfTheRecordsOwnAccountIsCleared) {
    TransactionRecord r = pay(7, -100, march(2), -7);
    EXPECT_EQ(r.category(), 0);
    EXPECT_EQ(transactionRows().size(), 1u);
    EXPECT_EQ(transactionRows()[0].category, 0);
}

TEST_F(TransactionSaveTest, ChangingTheDateToAnotherDayGivesANewIdentifierAndRebalances) {
    TransactionRecord a = pay(7, -100, march(1, 9));
    TransactionRecord b = pay(7, -200, march(2, 9));
    TransactionRecord c = pay(7, -400, march(3, 9));
    // A day without a time of day, other than today, goes after that day's last entry.
    c.setDate(march(1));
    ASSERT_EQ(saveTransaction(c), StoreStatus::Ok);
    EXPECT_EQ(c.identifier(), u"7_20100301090000001");
    EXPECT_EQ(c.date(), march(1, 9, 0, 0, 1));
    auto rows = transactionRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].balance, -100);
    EXPECT_EQ(rows[1].balance, -500);
    EXPECT_EQ(rows[2].id, b.identifier());
    EXPECT_EQ(rows[2].balance, -700);
    EXPECT_EQ(storedAccountBalance(7), -700);
    // A time of day given is kept, before the day's entries as much as after them.
    TransactionRecord d = pay(7, -800, march(1, 8));
    EXPECT_EQ(d.identifier(), u"7_20100301080000000");
    rows = transactionRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].id, d.identifier());
    EXPECT_EQ(rows[0].balance, -800);
    EXPECT_EQ(rows[1].id, a.identifier());
    EXPECT_EQ(rows[1].balance, -900);
    EXPECT_EQ(storedAccountBalance(7), -1500);
}

TEST_F(TransactionSaveTest, ATimeChangeWithinTheDayKeepsTheStoredDate) {
    TransactionRecord a = pay(7, -100, march(1, 9));
    a.setDate(march(1, 17));
    ASSERT_EQ(saveTransaction(a), StoreStatus::Ok);
    EXPECT_EQ(a.identifier(), u"7_20100301090000000");
    EXPECT_EQ(a.date(), march(1, 9));
}

TEST_F(TransactionSaveTest, DeletingOneSideOfATransferDeletesBoth) {
    TransactionRecord r = transfer(7, 9, -5000, march(3, 12));
    TransactionRecord other;
    ASSERT_TRUE(loadTransactionByIdentifier(other, rowOf(r.identifier())->link));
    ASSERT_EQ(deleteTransaction(other), StoreStatus::Ok);
    EXPECT_TRUE(transactionRows().empty());
    EXPECT_EQ(storedAccountBalance(7), 0);
    EXPECT_EQ(storedAccountBalance(9), 0);
}

TEST_F(TransactionSaveTest, DeletionsAreReportedOnlyWithASyncPartner) {
    TransactionRecord a = pay(7, -100, march(1, 9));
    TransactionRecord b = pay(7, -200, march(2, 9));
    ASSERT_EQ(deleteTransaction(a), StoreStatus::Ok);
    EXPECT_EQ(tableCursor(Table::DeletedItems).recordCount(), 0);
    setApplicationProfileForTesting(ApplicationProfile{u"", u"Desktop"});
    const std::u16string key = b.key();
    ASSERT_EQ(deleteTransaction(b), StoreStatus::Ok);
    setApplicationProfileForTesting(std::nullopt);
    TableCursor& deleted = tableCursor(Table::DeletedItems);
    ASSERT_EQ(deleted.recordCount(), 1);
    ASSERT_TRUE(deleted.moveTo(0));
    EXPECT_EQ(deleted.getI4(901), 4);
    EXPECT_EQ(std::u16string(deleted.getString(135)), key);
    EXPECT_EQ(deleted.getDate(108), nowUtc());
}

TEST_F(TransactionSaveTest, ASplitOwnerWithATransferLineMakesACounterpart) {
    TransactionRecord owner;
    owner.setAccount(7);
    owner.setAmount(-3000);
    owner.setDate(march(4, 10));
    std::vector<TransactionRecord> lines(2);
    lines[0].setCategory(5);
    lines[0].setAmount(-1000);
    lines[1].setCategory(-9);
    lines[1].setAmount(-2000);
    owner.setSplits(std::move(lines));
    EXPECT_EQ(owner.kind(), kKindSplitOwner);
    ASSERT_EQ(addNewTransaction(owner), StoreStatus::Ok);
    auto rows = transactionRows();
    ASSERT_EQ(rows.size(), 4u);
    auto line2 = rowOf(u"s7_201003041000000000002");
    ASSERT_TRUE(line2);
    EXPECT_EQ(line2->kind, kKindSplitLine);
    auto counterpart = rowOf(line2->link);
    ASSERT_TRUE(counterpart);
    EXPECT_EQ(counterpart->kind, kKindSplitTransfer);
    EXPECT_EQ(counterpart->account, 9);
    EXPECT_EQ(counterpart->amount, 2000);
    EXPECT_EQ(counterpart->link, line2->id);
    TransactionRecord line, other;
    ASSERT_TRUE(loadTransactionByIdentifier(line, line2->id));
    ASSERT_TRUE(loadTransactionByIdentifier(other, counterpart->id));
    EXPECT_EQ(line.partnerKey(), other.key());
    ASSERT_TRUE(loadSplitLines(owner));
    ASSERT_EQ(owner.splits().size(), 2u);
    EXPECT_EQ(owner.splits()[1].category(), -9);
    ASSERT_EQ(deleteTransaction(owner), StoreStatus::Ok);
    EXPECT_TRUE(transactionRows().empty());
}

TEST_F(TransactionSaveTest, DeletingASplitTransferCounterpartLeavesAnOwnerWithoutLinesPlain) {
    TransactionRecord owner;
    owner.setAccount(7);
    owner.setAmount(-2000);
    owner.setDate(march(4, 10));
    std::vector<TransactionRecord> lines(1);
    lines[0].setCategory(-9);
    lines[0].setAmount(-2000);
    owner.setSplits(std::move(lines));
    ASSERT_EQ(addNewTransaction(owner), StoreStatus::Ok);
    auto line = rowOf(u"s7_201003041000000000001");
    ASSERT_TRUE(line);
    TransactionRecord counterpart;
    ASSERT_TRUE(loadTransactionByIdentifier(counterpart, line->link));
    EXPECT_EQ(counterpart.kind(), kKindSplitTransfer);
    // Moving the counterpart to another day leaves the split line on its owner's date.
    counterpart.setDate(march(1, 9));
    ASSERT_EQ(saveTransaction(counterpart), StoreStatus::Ok);
    ASSERT_TRUE(rowOf(u"s7_201003041000000000001"));
    ASSERT_EQ(deleteTransaction(counterpart), StoreStatus::Ok);
    auto rows = transactionRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].id, owner.identifier());
    EXPECT_EQ(rows[0].kind, kKindPlain);
}

TEST_F(TransactionSaveTest, AnEnteredOccurrenceOfAScheduledItemMovesToTheReservedAccount) {
    TransactionRecord item(RecordSource::Planner);
    item.setAccount(7);
    item.setAmount(-100);
    item.set64(253, march(10));
    ASSERT_EQ(addNewTransaction(item), StoreStatus::Ok);
    const int32_t schedule = item.i4(tx::kScheduleNumber);
    EXPECT_EQ(schedule, 1);
    TransactionRecord entered;
    entered.setAccount(7);
    entered.setAmount(-100);
    entered.setDate(march(4, 10));
    entered.setI4(tx::kScheduleNumber, schedule);
    entered.setText(tx::kOccurrenceKey, occurrenceKey(1, march(4)));
    ASSERT_EQ(addNewTransaction(entered), StoreStatus::Ok);
    ASSERT_EQ(deleteTransaction(entered), StoreStatus::Ok);
    auto rows = transactionRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].account, tx::kDeletedOccurrencesAccount);
    EXPECT_EQ(storedAccountBalance(7), 0);
    // Deleting the item removes the parked occurrence.
    ASSERT_TRUE(readScheduledItem(1, item));
    ASSERT_EQ(deleteScheduledItem(item), StoreStatus::Ok);
    EXPECT_TRUE(transactionRows().empty());
    EXPECT_EQ(tableCursor(Table::Planner).recordCount(), 0);
}

TEST_F(TransactionSaveTest, AScheduledItemIsReadAndEditedByItsNextOccurrence) {
    TransactionRecord item(RecordSource::Planner);
    item.setAccount(7);
    item.setAmount(-100);
    item.setDate(march(1));
    item.set64(tx::kNextOccurrence, march(10));
    ASSERT_EQ(addNewTransaction(item), StoreStatus::Ok);
    TransactionRecord read(RecordSource::Planner);
    ASSERT_TRUE(readScheduledItem(1, read));
    EXPECT_EQ(read.date(), march(10));
    read.setDate(march(12));
    ASSERT_EQ(saveTransaction(read), StoreStatus::Ok);
    ASSERT_TRUE(readScheduledItem(1, read));
    EXPECT_EQ(read.date(), march(12));
    TableCursor& planner = tableCursor(Table::Planner);
    ASSERT_TRUE(planner.ensureSort(tx::kScheduleNumber, SortKind::I4) && planner.seekFirstEqual(1));
    EXPECT_EQ(planner.getDate(tx::kDate), march(1));  // the item's first date stays
    EXPECT_FALSE(readScheduledItem(2, read));
}

TEST_F(TransactionSaveTest, ARecordWithoutPayeeNumberFindsItsPayeeByName) {
    TableCursor& m = tableCursor(Table::Memorized);
    ASSERT_NE(m.addRecord({PropertyValue::i4(1001, 4), PropertyValue::string(110, u"Shop"),
                           PropertyValue::string(1004, u"Shop")}),
              0u);
    TransactionRecord r;
    r.setAccount(7);
    r.setAmount(-1);
    r.setDate(march(1));
    r.setPayeeName(u"Shop");
    ASSERT_EQ(addNewTransaction(r), StoreStatus::Ok);
    TransactionRecord loaded;
    ASSERT_TRUE(loadTransactionByIdentifier(loaded, r.identifier()));
    EXPECT_EQ(loaded.payee(), 4);
}

}  // namespace
}  // namespace dove::testing

namespace dove::testing {
namespace {

using StoreEdgeTest = StoreTest;

TEST_F(StoreEdgeTest, AnExhaustedRecordHeapIsReportedAndTheMoveFails) {
    TableCursor& categories = tableCursor(Table::Categories);
    categories.invalidate();
    platform::failNthAllocation(1);
    const bool moved = categories.moveTo(0);
    platform::failNthAllocation(0);
    if (moved) GTEST_SKIP() << "the read buffer was large enough already";
    ASSERT_FALSE(m_alerts.empty());
    EXPECT_EQ(m_alerts.back(), StoreAlert::RecordHeapExhausted);
    EXPECT_EQ(categories.position(), kNoRecord);
    EXPECT_TRUE(categories.moveTo(0));
}

TEST_F(StoreEdgeTest, SavesAndDeletesOfRecordsThatCannotBeWrittenSayWhy) {
    addAccount({7});
    TransactionRecord scheduled(RecordSource::Scheduled);
    scheduled.setAccount(7);
    EXPECT_EQ(addNewTransaction(scheduled), StoreStatus::InvalidRecord);
    TransactionRecord odd;
    odd.setAccount(7);
    odd.setDate(march(2));
    odd.setKind(7);
    EXPECT_EQ(addNewTransaction(odd), StoreStatus::InvalidRecord);
    EXPECT_EQ(deleteScheduledItem(odd), StoreStatus::InvalidRecord);
    // A record another program deleted after it was loaded.
    TransactionRecord gone = pay(7, -5, march(2));
    TransactionRecord edited = gone;
    TableCursor& t = tableCursor(Table::Transactions);
    ASSERT_TRUE(t.ensureSort(tx::kIdentifier, SortKind::String) && t.seekFirstEqual(gone.identifier()));
    ASSERT_TRUE(t.deleteAt(t.position()));
    edited.setAmount(-6);
    EXPECT_EQ(saveTransaction(edited), StoreStatus::RecordMissing);
    EXPECT_EQ(deleteTransaction(gone), StoreStatus::RecordMissing);
    EXPECT_TRUE(transactionRows().empty());
}

TEST_F(StoreEdgeTest, AFullTableRefusesTheSaveAsFull) {
    addAccount({7});
    // 65,535 records written straight to the store, as another program would have.
    CEOID oid = 0;
    HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Brimwell Transaction"), 0, 0, nullptr);
    ASSERT_NE(db, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(platform::cedbBeginTransaction());
    for (int i = 0; i < CEDB_MAXRECORDS; ++i) {
        CEPROPVAL value{};
        value.propid = PropIdFromType(tx::kAccount, CEVT_I4);
        value.val.lVal = 8;
        ASSERT_NE(CeWriteRecordProps(db, 0, 1, &value), 0u) << i;
    }
    ASSERT_TRUE(platform::cedbCommitTransaction());
    CloseHandle(db);
    invalidateAllCursors();
    TransactionRecord r;
    r.setAccount(7);
    r.setAmount(-5);
    r.setDate(march(2));
    EXPECT_EQ(addNewTransaction(r), StoreStatus::TableFull);
    EXPECT_FALSE(r.isStored());
}

TEST_F(StoreEdgeTest, ASaveInAnAccountMissingFromTheAccountsTableIsStoredAndLogged) {
    TransactionRecord r;
    r.setAccount(77);
    r.setAmount(-5);
    r.setDate(march(2));
    ASSERT_EQ(addNewTransaction(r), StoreStatus::Ok);
    EXPECT_EQ(transactionRows().size(), 1u);
    TransactionRecord none;
    none.setAmount(-5);
    none.setDate(march(2));
    EXPECT_EQ(addNewTransaction(none), StoreStatus::NoAccount);
    EXPECT_FALSE(none.isStored());
    EXPECT_EQ(transactionRows().size(), 1u);
}

}  // namespace
}  // namespace dove::testing
