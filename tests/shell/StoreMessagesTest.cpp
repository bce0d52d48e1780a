// The program's messages for the data code's alerts and failed saves: the exact texts and captions, and
// the alert hook showing them as message boxes.
#include <gtest/gtest.h>

#include "StoreMessages.h"
#include "UserTesting.h"
#include "platform/display.h"

namespace shell {
namespace {

TEST(StoreMessagesTest, EachAlertHasItsMessageBox) {
    const StoreMessage heap = storeAlertMessage(dove::StoreAlert::RecordHeapExhausted, 0);
    EXPECT_EQ(heap.text, u"Empty Memory");
    EXPECT_EQ(heap.caption, u"Brimwell");
    EXPECT_EQ(heap.type & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));
    const StoreMessage open = storeAlertMessage(dove::StoreAlert::NullOpenHandle, 1359);
    EXPECT_EQ(open.text, u"Open FALSE");
    EXPECT_EQ(open.caption, u"1359");
    EXPECT_EQ(open.type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
}

TEST(StoreMessagesTest, OnlyTheUnreachableRecordStatusesCarryASaveMessage) {
    using dove::StoreStatus;
    const auto reindex = saveFailureMessage(StoreStatus::ReindexNeeded);
    ASSERT_TRUE(reindex);
    EXPECT_EQ(reindex->text,
              u"Error 1154.\nPlease make Reindex Database.\n\nRun Brimwell and press Reset Button and Run "
              u"Brimwell again after reload device.");
    EXPECT_EQ(reindex->caption, u"Brimwell Dashel");
    const auto unreachable = saveFailureMessage(StoreStatus::RecordUnreachable);
    ASSERT_TRUE(unreachable);
    EXPECT_EQ(unreachable->text, u"Error 1154-1");
    EXPECT_EQ(unreachable->caption, u"Brimwell Dashel");
    for (StoreStatus status :
         {StoreStatus::Ok, StoreStatus::NoAccount, StoreStatus::RecordMissing,
          StoreStatus::DuplicateIdentifier, StoreStatus::TableFull, StoreStatus::WriteFailed})
        EXPECT_FALSE(saveFailureMessage(status)) << dove::statusName(status);
}

TEST(StoreMessagesTest, TheAlertHookShowsTheMessageBox) {
    platform::testing::WindowTestScope scope;
    platform::takeMessageBoxes();
    platform::queueScriptedAnswer(IDCANCEL);
    dove::setStoreAlertHook(showStoreAlert);
    dove::raiseStoreAlert(dove::StoreAlert::RecordHeapExhausted);
    dove::setStoreAlertHook({});
    const std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Empty Memory");
    EXPECT_EQ(boxes[0].caption, u"Brimwell");
    EXPECT_EQ(boxes[0].result, IDCANCEL);
}

}  // namespace
}  // namespace shell
