// The notification block's reader side and the refresh check: flags read and cleared once, a block
// that outlives its writer while the item holds it, a missing block, the day change, and which change
// each check reports.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "DateTime.h"
#include "NotificationBlock.h"
#include "NotificationReader.h"
#include "RefreshCheck.h"
#include "TempRoot.h"

namespace todaytest {
namespace {

using namespace today;

dove::Date at(int day, int hour, int minute = 0) {
    SYSTEMTIME t{};
    t.wYear = 2010;
    t.wMonth = 3;
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return dove::dateFromFields(t);
}

// What a check found, as words: "day", "scheduled", "transactions", or "" for nothing.
std::string found(const RefreshChanges& changes) {
    std::string words;
    for (const auto& [set, word] :
         {std::pair{changes.newDay, "day"}, std::pair{changes.scheduled, "scheduled"},
          std::pair{changes.transactions, "transactions"}})
        if (set) words += (words.empty() ? "" : " ") + std::string(word);
    EXPECT_EQ(changes.any(), !words.empty());
    return words;
}

class RefreshTest : public ::testing::Test {
  protected:
    void TearDown() override { dove::closeNotificationBlock(); }
    platform::testing::TempRoot m_root;
};

TEST_F(RefreshTest, AFlagReadClearsIt) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(dove::createNotificationBlock());
    for (int flag : {dove::kFlagScheduled, dove::kFlagTransactions, dove::kFlagPassword}) {
        EXPECT_FALSE(reader.readAndClear(flag)) << flag;
        ASSERT_TRUE(dove::setNotificationFlag(flag));
        EXPECT_TRUE(reader.readAndClear(flag)) << flag;
        EXPECT_FALSE(reader.readAndClear(flag)) << "read once, cleared: " << flag;
    }
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    EXPECT_FALSE(reader.readAndClear(dove::kFlagScheduled)) << "each flag is its own word";
    EXPECT_FALSE(reader.readAndClear(3));
    EXPECT_FALSE(reader.readAndClear(-1));
    EXPECT_TRUE(reader.readAndClear(dove::kFlagTransactions));
}

TEST_F(RefreshTest, TheBlockOutlivesItsWriterWhileTheItemHoldsIt) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    // An earlier Dashel run: it opens the block, raises a flag and ends.
    ASSERT_TRUE(dove::createNotificationBlock());
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    dove::closeNotificationBlock();
    EXPECT_TRUE(reader.readAndClear(dove::kFlagTransactions));
}

TEST_F(RefreshTest, AMissingBlockReadsAsNoChange) {
    NotificationReader reader;
    EXPECT_FALSE(reader.readAndClear(dove::kFlagTransactions)) << "not held";
    // A writer that ran while nobody held the block left nothing behind.
    ASSERT_TRUE(dove::createNotificationBlock());
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    dove::closeNotificationBlock();
    ASSERT_TRUE(reader.open());
    EXPECT_FALSE(reader.readAndClear(dove::kFlagTransactions)) << "a new block starts cleared";
}

TEST_F(RefreshTest, TwoChecksAfterOneChangeReportOneChangeNamingItsFlag) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(dove::createNotificationBlock());
    RefreshCheck check(reader);
    check.loaded(at(5, 10));
    EXPECT_EQ(found(check.changed(at(5, 10, 1))), "");
    const struct {
        int flag;
        const char* found;
    } flags[] = {{dove::kFlagScheduled, "scheduled"}, {dove::kFlagTransactions, "transactions"}};
    for (const auto& f : flags) {
        ASSERT_TRUE(dove::setNotificationFlag(f.flag));
        EXPECT_EQ(found(check.changed(at(5, 11))), f.found);
        EXPECT_EQ(found(check.changed(at(5, 11, 1))), "") << f.flag;
    }
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagScheduled));
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    EXPECT_EQ(found(check.changed(at(5, 12))), "scheduled transactions");
    EXPECT_EQ(found(check.changed(at(5, 12, 1))), "") << "one check reads both flags";
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagPassword));
    EXPECT_EQ(found(check.changed(at(5, 13))), "") << "the password flag is not a data change";
    EXPECT_TRUE(reader.readAndClear(dove::kFlagPassword)) << "and the check leaves it standing";
}

TEST_F(RefreshTest, CrossingMidnightWithoutAChangeRefreshesOnce) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    RefreshCheck check(reader);
    check.loaded(at(5, 23, 59));
    EXPECT_EQ(found(check.changed(at(5, 23, 59))), "");
    EXPECT_EQ(found(check.changed(at(6, 0, 0))), "day");
    EXPECT_EQ(dove::compareDates(check.lastLoad(), at(6, 0), dove::kCompareDays), 0);
    EXPECT_EQ(found(check.changed(at(6, 0, 1))), "");
    EXPECT_EQ(found(check.changed(at(6, 12, 0))), "");
}

TEST_F(RefreshTest, ANewDayLeavesFlagZeroForTheNextQuery) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(dove::createNotificationBlock());
    RefreshCheck check(reader);
    check.loaded(at(5, 23));
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagScheduled));
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    EXPECT_EQ(found(check.changed(at(6, 0))), "day transactions");
    EXPECT_EQ(found(check.changed(at(6, 0, 1))), "scheduled") << "flag 0 was not read by the day's test";
    EXPECT_EQ(found(check.changed(at(6, 0, 2))), "");
}

}  // namespace
}  // namespace todaytest
