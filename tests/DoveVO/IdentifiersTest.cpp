// Identifier formats, the unique-identifier rule against a real Transactions table, split owners, the
// schedule counter and record keys.
#include "Identifiers.h"
#include "StoreFixture.h"
#include "TransactionStore.h"

namespace dove::testing {
namespace {

using IdentifierTest = StoreTest;

TEST(IdentifierFormats, MatchTheStoredForms) {
    const Date d = march(5, 14, 8, 9, 45);
    EXPECT_EQ(transactionIdentifier(7, d), u"7_20100305140809045");
    EXPECT_EQ(splitIdentifier(7, d, 3), u"s7_201003051408090450003");
    EXPECT_EQ(scheduledInstanceIdentifier(40, 12), u"f40_0012");
    EXPECT_EQ(occurrenceKey(40, d), u"40_20100305140809045");
    EXPECT_EQ(accountStartKey(7), u"7_");
    EXPECT_EQ(accountEndKey(7), u"7_z");
    EXPECT_EQ(dayStartKey(7, d), u"7_20100305");
    EXPECT_EQ(dayEndKey(7, d), u"7_20100305z");
    EXPECT_EQ(splitRangeStartKey(7, d), u"s7_20100305140809045");
    EXPECT_EQ(splitRangeEndKey(7, d), u"s7_20100305140809045z");
    EXPECT_EQ(scheduleRangeStartKey(40), u"f40_");
    EXPECT_EQ(scheduleRangeEndKey(40), u"f40_z");
}

TEST(IdentifierFormats, SplitOwnerIsTheMiddleOfASplitIdentifier) {
    EXPECT_EQ(splitOwnerIdentifier(u"s7_201003051408090450003"), u"7_20100305140809045");
    EXPECT_EQ(splitOwnerIdentifier(u"7_20100305140809045"), u"");
    EXPECT_EQ(splitOwnerIdentifier(u"s12"), u"");
    EXPECT_EQ(accountOfIdentifier(u"12_2010"), 12u);
    EXPECT_EQ(accountOfIdentifier(u"f12_0001"), 0u);
}

TEST(RecordKeys, KeysOfOneTickDifferInTheSequenceAndShareTheNode) {
    RecordKey a, b;
    ASSERT_EQ(makeRecordKey(&a), 0u);
    ASSERT_EQ(makeRecordKey(&b), 0u);
    EXPECT_NE(a.data4[0] | a.data4[1] << 8, b.data4[0] | b.data4[1] << 8);
    for (int i = 2; i < 8; ++i)
        EXPECT_EQ(a.data4[i], b.data4[i]);
    EXPECT_EQ(a.data3 & 2, 2);
    const std::u16string text = recordKeyText(a);
    ASSERT_EQ(text.size(), 38u);
    EXPECT_EQ(text[0], u'{');
    EXPECT_EQ(text[9], u'-');
    EXPECT_EQ(text[14], u'-');
    EXPECT_EQ(text[19], u'-');
    EXPECT_EQ(text[24], u'-');
    EXPECT_EQ(text[37], u'}');
}

TEST_F(IdentifierTest, TodayWithATimeKeepsItsDate) {
    Date d = march(5, 14, 8, 9, 45);
    auto id = makeUniqueTransactionIdentifier(7, &d);
    ASSERT_TRUE(id);
    EXPECT_EQ(*id, u"7_20100305140809045");
    EXPECT_EQ(d, march(5, 14, 8, 9, 45));
    EXPECT_FALSE(makeUniqueTransactionIdentifier(0, &d));
}

TEST_F(IdentifierTest, AnotherDayIsPlacedAfterThatDaysLastEntry) {
    addAccount({7});
    pay(7, -100, march(1, 10));
    Date d = march(1);
    auto id = makeUniqueTransactionIdentifier(7, &d);
    ASSERT_TRUE(id);
    EXPECT_EQ(*id, u"7_20100301100000001");
    EXPECT_EQ(d, march(1, 10, 0, 0, 1));
    Date other = march(2);
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &other), u"7_20100302000000000");
}

// Entries made without a time of day stand at midnight, one millisecond apart; an entry with a time
// keeps it rather than following them.
TEST_F(IdentifierTest, AnExplicitTimeOfDayIsKeptOnADayThatHasEntries) {
    addAccount({7});
    pay(7, -100, march(1));
    pay(7, -100, march(1));
    Date d = march(1, 9, 30);
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_20100301093000000");
    EXPECT_EQ(d, march(1, 9, 30));
    pay(7, -100, march(1, 9, 30));
    d = march(1, 9, 30);
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_20100301093000001") << "taken: moved on from 9:30";
    d = march(1);
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_20100301093000001") << "no time: after the last";
}

// An identifier keeps four year digits: no date reaches past the end of 9999.
TEST_F(IdentifierTest, NoIdentifierIsMadeForADatePastTheLastOne) {
    addAccount({7});
    const Date last = dateOf(9999, 12, 31, 23, 59, 59, 999);
    EXPECT_EQ(kLastDate / kDateMillisecond, last / kDateMillisecond);
    Date d = last;
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_99991231235959999");
    pay(7, -100, last);
    d = last;
    EXPECT_FALSE(makeUniqueTransactionIdentifier(7, &d)) << "the next millisecond is in the year 10000";
    EXPECT_EQ(d, last);
    d = kLastDate + 1;
    EXPECT_FALSE(makeUniqueTransactionIdentifier(7, &d));
    d = dateOf(1601, 1, 1);
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_16010101000000000");
}

TEST_F(IdentifierTest, TakenCandidatesMoveOnByOneMillisecond) {
    addAccount({7});
    const Date when = march(5, 9);
    TransactionRecord first = pay(7, -1, when);
    TransactionRecord second = pay(7, -2, when);
    TransactionRecord third = pay(7, -3, when);
    EXPECT_EQ(first.identifier(), u"7_20100305090000000");
    EXPECT_EQ(second.identifier(), u"7_20100305090000001");
    EXPECT_EQ(third.identifier(), u"7_20100305090000002");
    EXPECT_EQ(third.date(), when + 2 * kDateMillisecond);
}

// Identifiers taken one millisecond after another, over a change of second, with a gap and with an
// identifier of another form inside the run: the first free millisecond is found every time.
TEST_F(IdentifierTest, LongRunsOfTakenMillisecondsEndAtTheFirstFreeOne) {
    TableCursor& t = tableCursor(Table::Transactions);
    const Date start = march(5, 9);
    auto take = [&](const std::u16string& id) {
        ASSERT_NE(
            t.addRecord({PropertyValue::string(tx::kIdentifier, id), PropertyValue::i4(tx::kAccount, 7)}),
            0u);
    };
    for (int ms = 0; ms < 1300; ++ms)
        if (ms != 1100) take(transactionIdentifier(7, start + static_cast<Date>(ms) * kDateMillisecond));
    Date d = start;
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_20100305090001100");
    EXPECT_EQ(d, march(5, 9, 0, 1, 100));
    take(u"7_20100305090001100");
    d = start + 5 * kDateMillisecond;
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_20100305090001300");
    take(u"7_20100305090001300");
    take(u"7_20100305090000000x");
    take(u"7_20100305090001301");
    d = start;
    EXPECT_EQ(*makeUniqueTransactionIdentifier(7, &d), u"7_20100305090001302");
}

TEST_F(IdentifierTest, TheDayEndSeekIgnoresARecordOfAnInterleavedAccount) {
    addAccount({1});
    addAccount({12});
    pay(12, -100, march(1, 18));
    Date d = march(1);
    EXPECT_EQ(*makeUniqueTransactionIdentifier(1, &d), u"1_20100301000000000");
}

TEST_F(IdentifierTest, ScheduleNumbersStartAboveTheGreatestInUse) {
    EXPECT_EQ(nextScheduleNumber(), 1u);
    EXPECT_EQ(nextScheduleNumber(), 2u);
    closeFinanceStore();
    ASSERT_TRUE(openFinanceStore());
    TableCursor& planner = tableCursor(Table::Planner);
    ASSERT_NE(planner.addRecord({PropertyValue::i4(251, 9), PropertyValue::date(253, march(6))}), 0u);
    TableCursor& t = tableCursor(Table::Transactions);
    ASSERT_NE(t.addRecord({PropertyValue::string(101, u"f14_0001"),
                           PropertyValue::string(103, u"14_20100301000000000"), PropertyValue::i4(251, 14)}),
              0u);
    EXPECT_EQ(nextScheduleNumber(), 15u);
}

}  // namespace
}  // namespace dove::testing
