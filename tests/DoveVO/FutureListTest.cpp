// The future list: the occurrences and fields it lists, builds that grow, shrink or do nothing, the
// payments already entered, items that list nothing or one occurrence, failures that leave the list as
// it was, a missing Scheduled table, and the list kept in step by entered occurrences.
#include "FutureList.h"

#include "OccurrenceEntry.h"
#include "ScheduleFixture.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

constexpr int32_t kProject = 5;

class FutureListTest : public ScheduleTest {
  protected:
    void SetUp() override {
        ScheduleTest::SetUp();
        forgetFutureList();
    }
    void TearDown() override {
        forgetFutureList();
        ScheduleTest::TearDown();
    }

    // Monthly rent from 31 January 2010 at 09:00, shown three days ahead, with a project and a memo.
    static uint32_t addRent() {
        ItemSeed rent;
        rent.first = dateOf(2010, 1, 31, 9);
        rent.amount = -120000;
        rent.leadDays = 3;
        rent.project = kProject;
        rent.memo = u"Rent for {month+1} {year}";
        return addItem(rent);
    }
    // Three weekly payments from 1 March 2010.
    static uint32_t addLessons() {
        ItemSeed lessons;
        lessons.first = dateOf(2010, 3, 1);
        lessons.frequency = kWeekly;
        lessons.amount = -2500;
        lessons.occurrences = 3;
        lessons.payee = u"Music school";
        return addItem(lessons);
    }

    static std::vector<FutureEntry> entries() {
        std::vector<FutureEntry> list;
        EXPECT_TRUE(readFutureList(list));
        return list;
    }
    // Each entry as "schedule day-number amount amount-before memo", for comparing whole lists.
    static std::vector<std::string> summary() {
        std::vector<std::string> lines;
        for (const FutureEntry& e : entries())
            lines.push_back(std::to_string(e.schedule) + " " + std::to_string(e.date / kDateDay) + " " +
                            std::to_string(e.amount) + " " + std::to_string(e.amountBeforePayment) + " " +
                            platform::toUtf8(e.memo));
        return lines;
    }
    static std::vector<std::string> forcedSummary(Date endDay) {
        EXPECT_EQ(buildFutureList(endDay, true), FutureListStatus::Built);
        return summary();
    }
};

TEST_F(FutureListTest, ListsEveryOccurrenceThatShowsByTheEndDayWithItsFields) {
    const uint32_t rent = addRent();
    const uint32_t lessons = addLessons();
    // 30 April shows on 27 April; 31 May would show on 28 May.
    ASSERT_EQ(buildFutureList(dateOf(2010, 4, 27, 18), false), FutureListStatus::Built);
    EXPECT_EQ(futureListComputedUntil(), dateOf(2010, 4, 27, 23, 59, 59, 999));
    const std::vector<FutureEntry> list = entries();
    const struct {
        uint32_t schedule;
        Date date;
    } expected[] = {
        {rent, dateOf(2010, 1, 31, 9)}, {rent, dateOf(2010, 2, 28, 9)}, {lessons, dateOf(2010, 3, 1)},
        {lessons, dateOf(2010, 3, 8)},  {lessons, dateOf(2010, 3, 15)}, {rent, dateOf(2010, 3, 31, 9)},
        {rent, dateOf(2010, 4, 30, 9)},
    };
    ASSERT_EQ(list.size(), std::size(expected));
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].schedule, expected[i].schedule) << i;
        EXPECT_EQ(list[i].date, expected[i].date) << i;
    }
    const FutureEntry& march = list[5];
    EXPECT_EQ(march.account, 7);
    EXPECT_EQ(march.project, kProject);
    EXPECT_EQ(march.amount, -120000);
    EXPECT_EQ(march.amountBeforePayment, 0);
    EXPECT_EQ(march.currency, u"USD");
    EXPECT_EQ(march.payeeName, u"Oakwood Apartments");
    EXPECT_EQ(march.memo, u"Rent for April 2010");
    EXPECT_EQ(march.identifier, u"7_20100331090000000");
    TableCursor& scheduled = tableCursor(Table::Scheduled);
    ASSERT_TRUE(scheduled.ensureSort(tx::kDate, SortKind::Date) && scheduled.moveTo(5));
    EXPECT_EQ(std::u16string(scheduled.getString(tx::kProjectKey)), u"5_20100331090000000");
    EXPECT_FALSE(scheduled.hasProperty(plan::kAmountBeforePayment));
    ASSERT_TRUE(scheduled.moveTo(2));
    EXPECT_EQ(std::u16string(scheduled.getString(tx::kProjectKey)), u"");  // no project, no key
    EXPECT_FALSE(scheduled.hasProperty(tx::kText114));
}

TEST_F(FutureListTest, TheSameEndDayTwiceDoesNothingTheSecondTime) {
    addRent();
    addLessons();
    ASSERT_EQ(buildFutureList(dateOf(2010, 3, 31), false), FutureListStatus::Built);
    const std::string before = dumpStore();
    const uint32_t writes = tableCursor(Table::Scheduled).writeCount();
    const uint32_t counter = scheduledChangeCounter();
    EXPECT_EQ(buildFutureList(dateOf(2010, 3, 31, 22), false), FutureListStatus::Unchanged);
    EXPECT_EQ(dumpStore(), before);
    EXPECT_EQ(tableCursor(Table::Scheduled).writeCount(), writes);
    EXPECT_EQ(scheduledChangeCounter(), counter);
    // Forced, the same day builds again and lists the same.
    const std::vector<std::string> listed = summary();
    EXPECT_EQ(forcedSummary(dateOf(2010, 3, 31)), listed);
    EXPECT_GT(scheduledChangeCounter(), counter);
}

TEST_F(FutureListTest, AnEarlierEndDayDeletesExactlyTheEntriesPastItAndALaterOneAddsWhatItBrings) {
    const uint32_t rent = addRent();
    addLessons();
    ItemSeed early;  // shown twelve days ahead: 31 March shows on 19 March
    early.first = dateOf(2010, 3, 31);
    early.leadDays = 12;
    addItem(early);
    const std::vector<std::string> toMarch20 = forcedSummary(dateOf(2010, 3, 20));
    const std::vector<std::string> toMay15 = forcedSummary(dateOf(2010, 5, 15));
    ASSERT_GT(toMay15.size(), toMarch20.size());

    ASSERT_EQ(buildFutureList(dateOf(2010, 3, 20), false), FutureListStatus::Built);
    EXPECT_EQ(summary(), toMarch20);
    bool earlyKept = false;
    for (const FutureEntry& e : entries())
        earlyKept = earlyKept || (e.schedule != rent && e.date == dateOf(2010, 3, 31));
    EXPECT_TRUE(earlyKept) << "an entry shown before the end day stays though its date is later";
    ASSERT_EQ(buildFutureList(dateOf(2010, 5, 15), false), FutureListStatus::Built);
    EXPECT_EQ(summary(), toMay15);
    ASSERT_EQ(buildFutureList(dateOf(2010, 4, 10), false), FutureListStatus::Built);
    EXPECT_EQ(summary(), forcedSummary(dateOf(2010, 4, 10)));
}

TEST_F(FutureListTest, PaymentsAlreadyEnteredLeaveWhatRemainsOrTakeTheOccurrenceOff) {
    const uint32_t rent = addRent();
    payment(rent, dateOf(2010, 1, 31, 9), -120000, false);  // paid in full
    payment(rent, dateOf(2010, 2, 28, 9), -20000, true);    // a part paid
    payment(rent, dateOf(2010, 3, 31, 9), -100000, true);   // parts paying more than is due
    payment(rent, dateOf(2010, 3, 31, 9), -30000, true);
    payment(rent, dateOf(2010, 4, 30, 9), -40000, true);  // parts, then the completing payment
    payment(rent, dateOf(2010, 4, 30, 9), -80000, false);
    ASSERT_EQ(buildFutureList(dateOf(2010, 5, 31), true), FutureListStatus::Built);
    const std::vector<FutureEntry> list = entries();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].date, dateOf(2010, 2, 28, 9));
    EXPECT_EQ(list[0].amount, -100000);
    EXPECT_EQ(list[0].amountBeforePayment, -120000);
    EXPECT_EQ(list[1].date, dateOf(2010, 5, 31, 9));
    EXPECT_EQ(list[1].amount, -120000);
    EXPECT_EQ(list[1].amountBeforePayment, 0);
}

TEST_F(FutureListTest, ItemsThatListNothingOrOneOccurrence) {
    ItemSeed used;
    used.first = dateOf(2010, 3, 1);
    used.occurrences = 3;
    used.entered = 3;
    addItem(used);
    ItemSeed finished = used;
    finished.entered = 1;
    finished.finished = 1;
    addItem(finished);
    ItemSeed none = used;
    none.entered = 0;
    none.occurrences = 0;
    addItem(none);
    ItemSeed once = used;
    once.frequency = kOnlyOnce;
    once.entered = 0;
    once.occurrences = -1;  // a date that never moves lists once, not again and again
    const uint32_t single = addItem(once);
    ItemSeed still = once;
    still.frequency = kEveryNDays;
    still.interval = 0;
    const uint32_t standing = addItem(still);
    ASSERT_EQ(buildFutureList(dateOf(2010, 12, 31), true), FutureListStatus::Built);
    const std::vector<FutureEntry> list = entries();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].schedule, single);
    EXPECT_EQ(list[1].schedule, standing);
}

TEST_F(FutureListTest, AFailedBuildLeavesTheListAndItsDayAsTheyWere) {
    addRent();
    addLessons();
    ASSERT_EQ(buildFutureList(dateOf(2010, 3, 31), false), FutureListStatus::Built);
    const std::string before = dumpStore();
    const Date until = futureListComputedUntil();
    unsigned failing = 1;
    for (;; ++failing) {
        ASSERT_LT(failing, 100u) << "the build never succeeded";
        platform::cedbFailNthOperation(failing);
        const FutureListStatus status = buildFutureList(dateOf(2010, 6, 30), true);
        platform::cedbFailNthOperation(0);
        if (status == FutureListStatus::Built) break;
        EXPECT_FALSE(succeeded(status));
        EXPECT_EQ(dumpStore(), before) << "failing write " << failing << ": " << futureListStatusName(status);
        EXPECT_EQ(futureListComputedUntil(), until);
    }
    EXPECT_GT(failing, 3u) << "the writes were not each made to fail";
    EXPECT_EQ(futureListComputedUntil(), dateOf(2010, 6, 30, 23, 59, 59, 999));
}

TEST_F(FutureListTest, AMissingScheduledTableIsCreated) {
    addLessons();
    const char16_t* name = tableInfo(Table::Scheduled).databaseName;
    tableCursor(Table::Scheduled).close();
    CEOID oid = 0;
    HANDLE handle = CeOpenDatabase(&oid, const_cast<LPWSTR>(name), 0, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    ASSERT_TRUE(CeDeleteDatabase(oid));
    ASSERT_FALSE(databaseExists(name));
    platform::cedbFailNthOperation(1);
    EXPECT_EQ(buildFutureList(dateOf(2010, 3, 31), true), FutureListStatus::CreateFailed);
    platform::cedbFailNthOperation(0);
    EXPECT_FALSE(databaseExists(name));
    ASSERT_EQ(buildFutureList(dateOf(2010, 3, 31), true), FutureListStatus::Built);
    EXPECT_EQ(entries().size(), 3u);
}

TEST_F(FutureListTest, EnteringAnOccurrenceKeepsTheListInStep) {
    const uint32_t rent = addRent();
    addLessons();
    ASSERT_EQ(buildFutureList(dateOf(2010, 4, 30), false), FutureListStatus::Built);
    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(rent, -50000, 0, entered), StoreStatus::Ok);
    const std::vector<std::string> afterPart = summary();
    EXPECT_EQ(afterPart.front(), std::to_string(rent) + " " + std::to_string(dateOf(2010, 1, 31) / kDateDay) +
                                     " -70000 -120000 Rent for February 2010");
    EXPECT_EQ(forcedSummary(dateOf(2010, 4, 30)), afterPart);
    ASSERT_EQ(enterOccurrence(rent, -70000, 0, entered), StoreStatus::Ok);
    const std::vector<std::string> afterAll = summary();
    EXPECT_EQ(afterAll.size(), afterPart.size() - 1);
    EXPECT_EQ(forcedSummary(dateOf(2010, 4, 30)), afterAll);
}

TEST_F(FutureListTest, TheSortOrdersAreAsTheyWere) {
    addRent();
    TableCursor& t = tableCursor(Table::Transactions);
    TableCursor& planner = tableCursor(Table::Planner);
    TableCursor& scheduled = tableCursor(Table::Scheduled);
    ASSERT_TRUE(t.ensureSort(tx::kKey, SortKind::String));
    ASSERT_TRUE(planner.ensureSort(plan::kNextDate, SortKind::Date));
    ASSERT_TRUE(scheduled.openUnsorted());
    ASSERT_EQ(buildFutureList(dateOf(2010, 4, 30), false), FutureListStatus::Built);
    ASSERT_EQ(buildFutureList(dateOf(2010, 3, 31), false), FutureListStatus::Built);
    EXPECT_EQ(t.sortProperty(), tx::kKey);
    EXPECT_EQ(planner.sortProperty(), plan::kNextDate);
    EXPECT_EQ(scheduled.sortKind(), SortKind::None);
}

}  // namespace
}  // namespace dove::testing
