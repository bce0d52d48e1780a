// The notification block's reader side and the refresh check: flags read and cleared once, a block
// that outlives its writer while the item holds it, a missing block, and the day change.
#include <gtest/gtest.h>

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

TEST_F(RefreshTest, TwoChecksAfterOneChangeReportOneChange) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(dove::createNotificationBlock());
    RefreshCheck check(reader);
    check.loaded(at(5, 10));
    EXPECT_FALSE(check.changed(at(5, 10, 1)));
    for (int flag : {dove::kFlagScheduled, dove::kFlagTransactions}) {
        ASSERT_TRUE(dove::setNotificationFlag(flag));
        EXPECT_TRUE(check.changed(at(5, 11))) << flag;
        EXPECT_FALSE(check.changed(at(5, 11, 1))) << flag;
    }
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagScheduled));
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    EXPECT_TRUE(check.changed(at(5, 12)));
    EXPECT_FALSE(check.changed(at(5, 12, 1))) << "one check reads both flags";
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagPassword));
    EXPECT_FALSE(check.changed(at(5, 13))) << "the password flag is not a data change";
    EXPECT_TRUE(reader.readAndClear(dove::kFlagPassword)) << "and the check leaves it standing";
}

TEST_F(RefreshTest, CrossingMidnightWithoutAChangeRefreshesOnce) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    RefreshCheck check(reader);
    check.loaded(at(5, 23, 59));
    EXPECT_FALSE(check.changed(at(5, 23, 59)));
    EXPECT_TRUE(check.changed(at(6, 0, 0)));
    EXPECT_EQ(dove::compareDates(check.lastLoad(), at(6, 0), dove::kCompareDays), 0);
    EXPECT_FALSE(check.changed(at(6, 0, 1)));
    EXPECT_FALSE(check.changed(at(6, 12, 0)));
}

TEST_F(RefreshTest, ANewDayLeavesFlagZeroForTheNextQuery) {
    NotificationReader reader;
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(dove::createNotificationBlock());
    RefreshCheck check(reader);
    check.loaded(at(5, 23));
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagScheduled));
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    EXPECT_TRUE(check.changed(at(6, 0)));
    EXPECT_TRUE(check.changed(at(6, 0, 1))) << "flag 0 was not read by the day's test";
    EXPECT_FALSE(check.changed(at(6, 0, 2)));
}

}  // namespace
}  // namespace todaytest
