// Entering occurrences of scheduled items, in full and in parts, and moving the items on: the entered
// transactions, the items' counts and dates, finishing and deleting at the last entry, the walk over
// occurrences entered ahead, refused payments, transfers, other currencies and all-or-nothing writes.
#include "OccurrenceEntry.h"

#include "FutureList.h"

#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "PlannerAdvance.h"
#include "ScheduleFixture.h"

namespace dove::testing {
namespace {

class OccurrenceEntryTest : public ScheduleTest {};

TEST_F(OccurrenceEntryTest, EnteringInFullWritesThePaymentAndMovesTheItemOn) {
    const Date jan31 = dateOf(2010, 1, 31, 9);
    const int32_t rent = madeCategoryPath(u"Home:Rent", 2);
    ItemSeed seed;
    seed.first = jan31;
    seed.amount = -120000;
    seed.category = rent;
    seed.memo = u"Rent for {month} {year}";
    const uint32_t n = addItem(seed);
    const uint32_t counterBefore = scheduledChangeCounter();

    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(n, -120000, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(entered.kind(), kKindPlain);
    EXPECT_EQ(entered.account(), 7);
    EXPECT_EQ(entered.category(), rent);
    EXPECT_EQ(entered.amount(), -120000);
    EXPECT_EQ(entered.payeeName(), u"Oakwood Apartments");
    EXPECT_EQ(entered.text(tx::kText114), u"Rent for January 2010");
    EXPECT_EQ(compareDates(entered.date(), jan31, kCompareDays), 0);
    EXPECT_EQ(entered.i4(tx::kScheduleNumber), static_cast<int32_t>(n));
    EXPECT_EQ(entered.text(tx::kOccurrenceKey), occurrenceKey(n, jan31));
    EXPECT_EQ(entered.value64(tx::kScheduledDate), jan31);
    EXPECT_EQ(entered.value64(tx::kUnpaidFlag), 0u);
    EXPECT_EQ(static_cast<Amount>(entered.value64(tx::kPaidAmount)), -120000);
    EXPECT_EQ(storedAccountBalance(7), -120000);
    EXPECT_GT(scheduledChangeCounter(), counterBefore);

    PlannerItem item = itemNumber(n);
    EXPECT_EQ(item.entered, 1);
    EXPECT_EQ(item.next, dateOf(2010, 2, 28, 9));
    // The third occurrence counts from the first date: 31 March, not 28 March.
    ASSERT_EQ(enterOccurrence(n, -120000, dateOf(2010, 3, 1), entered), StoreStatus::Ok);
    EXPECT_EQ(entered.text(tx::kText114), u"Rent for February 2010");
    EXPECT_EQ(compareDates(entered.date(), dateOf(2010, 3, 1), kCompareDays), 0);
    item = itemNumber(n);
    EXPECT_EQ(item.entered, 2);
    EXPECT_EQ(item.next, dateOf(2010, 3, 31, 9));
    EXPECT_EQ(storedAccountBalance(7), -240000);
}

TEST_F(OccurrenceEntryTest, PartialPaymentsCountOnlyWithTheOneThatCompletesTheOccurrence) {
    ItemSeed seed;
    seed.first = dateOf(2010, 3, 10);
    seed.amount = -10000;
    const uint32_t n = addItem(seed);
    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(n, -3000, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(entered.value64(tx::kUnpaidFlag), 1u);
    EXPECT_EQ(itemNumber(n).entered, 0);
    OccurrenceDue due;
    ASSERT_EQ(nextOccurrenceDue(n, due), DueState::Due);
    EXPECT_EQ(due.paid, -3000);
    EXPECT_EQ(due.remaining(), -7000);
    ASSERT_EQ(enterOccurrence(n, -2000, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(itemNumber(n).entered, 0);
    // The rest, and a little more (a bill that came out higher), completes it.
    ASSERT_EQ(enterOccurrence(n, -5500, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(entered.value64(tx::kUnpaidFlag), 0u);
    EXPECT_EQ(itemNumber(n).entered, 1);
    ASSERT_EQ(nextOccurrenceDue(n, due), DueState::Due);
    EXPECT_EQ(due.date, dateOf(2010, 4, 10));
    EXPECT_EQ(due.paid, 0);
    EXPECT_EQ(storedAccountBalance(7), -10500);
}

TEST_F(OccurrenceEntryTest, TheLastEntryFinishesTheItemAndAnItemOfOneEntryIsDeleted) {
    ItemSeed twice;
    twice.first = dateOf(2010, 3, 1);
    twice.occurrences = 2;
    const uint32_t loan = addItem(twice);
    ItemSeed once = twice;
    once.frequency = kOnlyOnce;
    once.occurrences = 1;
    const uint32_t single = addItem(once);

    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(loan, -10000, 0, entered), StoreStatus::Ok);
    ASSERT_EQ(enterOccurrence(loan, -10000, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(itemNumber(loan).finished, 1);
    EXPECT_EQ(itemNumber(loan).entered, 2);
    OccurrenceDue due;
    EXPECT_EQ(nextOccurrenceDue(loan, due), DueState::Finished);
    EXPECT_EQ(enterOccurrence(loan, -10000, 0, entered), StoreStatus::InvalidRecord);
    // A finished item is not moved again.
    EXPECT_EQ(advancePlannerItem(loan), StoreStatus::Ok);
    EXPECT_EQ(itemNumber(loan).entered, 2);

    ASSERT_EQ(enterOccurrence(single, -10000, 0, entered), StoreStatus::Ok);
    EXPECT_FALSE(findPlannerItem(single).has_value());
    EXPECT_EQ(nextOccurrenceDue(single, due), DueState::NoSuchItem);
    // Its payment stays, no longer tied to the deleted item.
    TransactionRecord kept;
    ASSERT_TRUE(loadTransactionByIdentifier(kept, entered.identifier()));
    EXPECT_EQ(kept.i4(tx::kScheduleNumber), 0);
    EXPECT_EQ(kept.text(tx::kOccurrenceKey), u"");
    EXPECT_EQ(storedAccountBalance(7), -30000);
}

TEST_F(OccurrenceEntryTest, TheWalkCountsOccurrencesEnteredAheadAndStopsAtOneNotPaidInFull) {
    ItemSeed seed;
    seed.first = dateOf(2010, 1, 15);
    // Twelve items, so that the keys of item 12 ("12_...") sort among those of item 1 ("1_...").
    uint32_t numbers[12];
    for (uint32_t& n : numbers)
        n = addItem(seed);
    const uint32_t one = numbers[0], twelve = numbers[11];
    ASSERT_EQ(one, 1u);
    ASSERT_EQ(twelve, 12u);
    payment(twelve, dateOf(2010, 1, 15), -10000, false);
    payment(one, dateOf(2010, 1, 15), -10000, false);
    payment(one, dateOf(2010, 2, 15), -4000, true);
    payment(one, dateOf(2010, 2, 15), -6000, false);
    payment(one, dateOf(2010, 3, 15), -4000, true);  // only a part of the third
    payment(one, dateOf(2010, 4, 15), -10000, false);
    ASSERT_EQ(advancePlannerItem(one), StoreStatus::Ok);
    EXPECT_EQ(itemNumber(one).entered, 2);
    EXPECT_EQ(itemNumber(one).next, dateOf(2010, 3, 15));
    ASSERT_EQ(advancePlannerItem(twelve), StoreStatus::Ok);
    EXPECT_EQ(itemNumber(twelve).entered, 1);
    // Item 2 has no payments; the seek for its keys lands on another item's and counts nothing.
    ASSERT_EQ(advancePlannerItem(numbers[1]), StoreStatus::Ok);
    EXPECT_EQ(itemNumber(numbers[1]).entered, 0);
    OccurrenceDue due;
    ASSERT_EQ(nextOccurrenceDue(one, due), DueState::Due);
    EXPECT_EQ(due.paid, -4000);
    ASSERT_EQ(nextOccurrenceDue(twelve, due), DueState::Due);
    EXPECT_EQ(due.paid, 0);
    EXPECT_EQ(advancePlannerItem(99), StoreStatus::RecordMissing);
}

TEST_F(OccurrenceEntryTest, PaymentsThatCannotBeEnteredWriteNothing) {
    ItemSeed seed;
    seed.first = dateOf(2010, 3, 1);
    const uint32_t n = addItem(seed);
    ItemSeed done = seed;
    done.occurrences = 3;
    done.entered = 3;
    const uint32_t used = addItem(done);
    const std::string before = dumpStore();
    TransactionRecord entered;
    EXPECT_EQ(enterOccurrence(n, 0, 0, entered), StoreStatus::InvalidRecord);
    EXPECT_EQ(enterOccurrence(n, 500, 0, entered), StoreStatus::InvalidRecord);
    EXPECT_EQ(enterOccurrence(used, -500, 0, entered), StoreStatus::InvalidRecord);
    EXPECT_EQ(enterOccurrence(99, -500, 0, entered), StoreStatus::RecordMissing);
    EXPECT_EQ(dumpStore(), before);
}

TEST_F(OccurrenceEntryTest, ATransferItemEntersBothSides) {
    ItemSeed seed;
    seed.first = dateOf(2010, 3, 1);
    seed.category = -9;
    seed.amount = -5000;
    const uint32_t n = addItem(seed);
    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(n, -5000, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(storedAccountBalance(7), -5000);
    EXPECT_EQ(storedAccountBalance(9), 5000);
    TransactionRecord other;
    ASSERT_TRUE(loadTransactionByIdentifier(other, entered.link()));
    EXPECT_EQ(other.i4(tx::kScheduleNumber), 0);  // only the entered side names the occurrence
    EXPECT_EQ(itemNumber(n).entered, 1);
}

TEST_F(OccurrenceEntryTest, AnItemInAnotherCurrencyIsConvertedIntoTheAccounts) {
    addCurrency(1, u"USD", u"$");
    addCurrency(2, u"EUR", u"E");
    addRate(u"USD", u"EUR", dateOf(2010, 1, 1), u"0.5");
    ItemSeed seed;
    seed.first = dateOf(2010, 3, 1);
    seed.currency = u"EUR";
    seed.amount = -1000;
    const uint32_t n = addItem(seed);
    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(n, -400, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(entered.amount(), -800);
    EXPECT_EQ(entered.currency(), u"USD");
    EXPECT_EQ(entered.enteredAmount(), -400);
    EXPECT_EQ(entered.text(tx::kEnteredCurrency), u"EUR");
    EXPECT_EQ(static_cast<Amount>(entered.value64(tx::kPaidAmount)), -400);
    OccurrenceDue due;
    ASSERT_EQ(nextOccurrenceDue(n, due), DueState::Due);
    EXPECT_EQ(due.remaining(), -600);  // in the item's currency
}

TEST_F(OccurrenceEntryTest, AFailedWriteAnywhereLeavesTheStoreAsItWas) {
    ItemSeed seed;
    seed.first = dateOf(2010, 3, 1);
    seed.occurrences = 1;
    seed.category = -9;
    const uint32_t n = addItem(seed);
    ASSERT_EQ(buildFutureList(dateOf(2010, 3, 31), true), FutureListStatus::Built);
    unsigned failing = 1;
    for (;; ++failing) {
        ASSERT_LT(failing, 200u) << "the entry never succeeded";
        const std::string before = dumpStore();
        platform::cedbFailNthOperation(failing);
        TransactionRecord entered;
        const StoreStatus status = enterOccurrence(n, -10000, 0, entered);
        platform::cedbFailNthOperation(0);
        if (status == StoreStatus::Ok) break;
        EXPECT_EQ(dumpStore(), before) << "failing write " << failing;
    }
    EXPECT_GT(failing, 3u) << "the writes were not each made to fail";
    EXPECT_FALSE(findPlannerItem(n).has_value());
}

TEST_F(OccurrenceEntryTest, TheSortOrdersAreAsTheyWere) {
    ItemSeed seed;
    seed.first = dateOf(2010, 3, 1);
    const uint32_t n = addItem(seed);
    TableCursor& t = tableCursor(Table::Transactions);
    TableCursor& planner = tableCursor(Table::Planner);
    // The save of a transaction sorts Transactions by identifier; what the scheduling code sorts by
    // occurrence key it puts back.
    ASSERT_TRUE(t.ensureSort(tx::kIdentifier, SortKind::String));
    ASSERT_TRUE(planner.ensureSort(plan::kNextDate, SortKind::Date));
    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(n, -10000, 0, entered), StoreStatus::Ok);
    EXPECT_EQ(t.sortProperty(), tx::kIdentifier);
    EXPECT_EQ(planner.sortProperty(), plan::kNextDate);
}

}  // namespace
}  // namespace dove::testing
