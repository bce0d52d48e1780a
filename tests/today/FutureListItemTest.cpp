// The item and the future list: built anew when scheduled data changed, grown at a new day, only read
// after other changes; a failed build reported by its message once the load is over; and nothing but
// the list written to the store.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "FinanceStore.h"
#include "ItemFixture.h"
#include "NotificationBlock.h"
#include "TransactionRecord.h"
#include "platform/cedb.h"
#include "platform/display.h"
#include "platform/windlg.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

class FutureListItemTest : public ItemTest {
  protected:
    void SetUp() override {
        ItemTest::SetUp();
        showScheduledOnToday(true);
    }
    void TearDown() override {
        platform::cedbFailNthOperation(0);
        dove::closeNotificationBlock();
        ItemTest::TearDown();
    }
    static void seedPlannerItem(const PlannerSeed& item) {
        StoreSeed seed;
        seed.plannerItem(item);
    }
    // The due entries' descriptions, as the item loaded them.
    std::vector<std::u16string> due() {
        std::vector<std::u16string> names;
        for (const today::LoadedScheduled& entry : item().data().scheduled())
            names.push_back(entry.description);
        return names;
    }
    // Another program's save raised a flag: the item's next query reloads.
    LRESULT queryAfterFlag(int flag) {
        EXPECT_TRUE(dove::createNotificationBlock());
        EXPECT_TRUE(dove::setNotificationFlag(flag));
        return queryRefresh();
    }
    static void advanceToTomorrow() {
        SYSTEMTIME now;
        GetLocalTime(&now);
        const DWORD toMidnight =
            ((23 - now.wHour) * 3600 + (59 - now.wMinute) * 60 + (60 - now.wSecond)) * 1000;
        platform::testing::advanceAndPump(toMidnight + 1000);
    }
};

using Names = std::vector<std::u16string>;

TEST_F(FutureListItemTest, FlagZeroBuildsTheListAnewAndOtherChangesReadItAsItStands) {
    seedPlannerItem({1, u"Rent", dayFromToday(0), -120000});
    ASSERT_NE(showItem(), nullptr);
    EXPECT_EQ(due(), Names{u"Rent"}) << "the first load builds the list";
    // Added behind the item's back (no flag): a transactions change does not build the list again.
    seedPlannerItem({2, u"Loan", dayFromToday(-1), -5000});
    EXPECT_EQ(queryAfterFlag(dove::kFlagTransactions), TRUE);
    EXPECT_EQ(due(), Names{u"Rent"});
    EXPECT_EQ(queryAfterFlag(dove::kFlagScheduled), TRUE);
    EXPECT_EQ(due(), (Names{u"Loan", u"Rent"}));
    EXPECT_EQ(queryRefresh(), FALSE);
}

TEST_F(FutureListItemTest, ANewDayAddsTheOccurrencesItBrings) {
    seedPlannerItem({1, u"Rent", dayFromToday(1), -120000, dove::kWeekly});
    ASSERT_NE(showItem(), nullptr);
    EXPECT_TRUE(due().empty());
    advanceToTomorrow();
    EXPECT_EQ(queryRefresh(), TRUE);
    EXPECT_EQ(due(), Names{u"Rent"});
}

TEST_F(FutureListItemTest, AFailedBuildIsReportedAfterTheLoadAndTheNextLoadBuildsAgain) {
    // The build empties the list (the first write), then adds the entries (the next ones).
    const struct {
        unsigned failing;
        const char16_t* text;
    } failures[] = {{1, u"Error Read record FutureList Database"},
                    {2, u"Error Write record FutureList Database"}};
    seedPlannerItem({1, u"Rent", dayFromToday(0), -120000});
    ASSERT_NE(showItem(), nullptr);
    platform::takeMessageBoxes();
    for (const auto& f : failures) {
        SCOPED_TRACE(f.failing);
        const auto loan = static_cast<int32_t>(10 + f.failing);
        seedPlannerItem({loan, u"Loan", dayFromToday(-1), -5000});
        platform::cedbFailNthOperation(f.failing);
        EXPECT_EQ(queryAfterFlag(dove::kFlagScheduled), TRUE);
        platform::cedbFailNthOperation(0);
        EXPECT_EQ(due(), Names{u"Rent"}) << "the list as it was";
        EXPECT_TRUE(platform::takeMessageBoxes().empty()) << "not inside the refresh query";
        platform::queueScriptedAnswer(IDOK);
        platform::testing::pumpMessages();
        const std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, m_record.hwndCustom);
        EXPECT_EQ(boxes[0].caption, u"Brimwell");
        EXPECT_EQ(boxes[0].text, f.text);
        // Any later reload builds the list anew: the change it missed is not lost.
        EXPECT_EQ(queryAfterFlag(dove::kFlagTransactions), TRUE);
        EXPECT_EQ(due(), (Names{u"Loan", u"Rent"}));
        platform::testing::pumpMessages();
        EXPECT_TRUE(platform::takeMessageBoxes().empty());
        // Back to one due entry for the next round.
        {
            StoreSeed seed;
            dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
            dove::SortScope byNumber(planner, dove::tx::kScheduleNumber, dove::SortKind::I4);
            ASSERT_TRUE(planner.seekFirstEqual(loan));
            ASSERT_TRUE(planner.deleteAt(planner.position()));
        }
        EXPECT_EQ(queryAfterFlag(dove::kFlagScheduled), TRUE);
    }
    EXPECT_NE(itemLog().find("Future list failed: "), std::string::npos) << itemLog();
}

// Every record of every table but the future list, as sorted lines of its properties.
std::map<std::u16string, std::vector<std::string>> storeOutsideTheList() {
    std::map<std::u16string, std::vector<std::string>> tables;
    EXPECT_TRUE(dove::openFinanceStore());
    for (const dove::TableInfo& info : dove::catalogue()) {
        if (info.table == dove::Table::Scheduled) continue;
        std::vector<std::string>& lines = tables[info.databaseName];
        dove::TableCursor& cursor = dove::tableCursor(info.table);
        for (bool more = cursor.moveTo(0); more; more = cursor.moveNext()) {
            std::map<int, std::string> properties;
            for (const dove::PropertyValue& v : cursor.values())
                properties[v.number()] = std::to_string(v.type()) + ":" + std::to_string(v.i4Value()) + ":" +
                                         std::to_string(v.dateValue()) + ":" + platform::toUtf8(v.text());
            std::string line;
            for (const auto& [number, value] : properties)
                line += std::to_string(number) + "=" + value + ";";
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
    }
    dove::closeFinanceStore();
    return tables;
}

TEST_F(FutureListItemTest, TheItemWritesNothingButTheFutureList) {
    {
        StoreSeed seed;
        seed.account({1, u"Checking", u"USD", 50000, 60000});
        seed.transaction(1, dayFromToday(-3), -2000, 50000);
        seed.budget(1, u"Food", true, {{-10000, -9000}});
        seed.group(1000, u"Family", u"#1@1");
        seed.plannerItem({1, u"Power", dayFromToday(-1), -33000, dove::kQuarterly});
        seed.payment(1, dayFromToday(-1), -15000, false);
        seed.plannerItem(
            {2, u"Rent", dayFromToday(1), -120000, dove::kWeekly, -1, 0, 3, u"Rent for {month}"});
    }
    const auto before = storeOutsideTheList();
    ASSERT_NE(showItem(), nullptr);
    EXPECT_EQ(queryAfterFlag(dove::kFlagScheduled), TRUE);
    EXPECT_EQ(queryAfterFlag(dove::kFlagTransactions), TRUE);
    advanceToTomorrow();
    EXPECT_EQ(queryRefresh(), TRUE);
    EXPECT_EQ(due().size(), 2u);
    EXPECT_EQ(storeOutsideTheList(), before);
}

}  // namespace
}  // namespace todaytest
