// The reminder linked to a scheduled item: deleted with the item only when the finance manager's marker
// is in its text, kept when the item's delete fails, and each outcome of the lookup.
#include "LinkedReminder.h"

#include <fstream>

#include "OccurrenceEntry.h"
#include "ScheduleFixture.h"
#include "platform/pimstore.h"

namespace dove::testing {
namespace {

class LinkedReminderTest : public ScheduleTest {
  protected:
    void SetUp() override {
        ScheduleTest::SetUp();
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                   reinterpret_cast<void**>(&m_app)),
                  S_OK);
        ASSERT_EQ(m_app->Logon(0), S_OK);
    }
    void TearDown() override {
        m_app->Logoff();
        m_app->Release();
        CoUninitialize();
        ScheduleTest::TearDown();
    }

    LONG reminder(LONG type, const std::u16string& subject, const std::u16string& body) {
        IDispatch* created = nullptr;
        EXPECT_EQ(m_app->CreateItem(type, &created), S_OK);
        void* item = nullptr;
        EXPECT_EQ(created->QueryInterface(type == olTaskItem ? IID_ITask : IID_IAppointment, &item), S_OK);
        IPimItem* pim = type == olTaskItem ? static_cast<IPimItem*>(static_cast<ITask*>(item))
                                           : static_cast<IAppointment*>(item);
        BSTR s = SysAllocString(subject.c_str());
        BSTR b = SysAllocString(body.c_str());
        pim->put_Subject(s);
        pim->put_Body(b);
        SysFreeString(s);
        SysFreeString(b);
        EXPECT_EQ(pim->Save(), S_OK);
        LONG oid = 0;
        pim->get_Oid(&oid);
        pim->Release();
        created->Release();
        return oid;
    }

    bool exists(LONG oid) {
        IDispatch* found = nullptr;
        if (FAILED(m_app->GetItemFromOid(oid, &found))) return false;
        found->Release();
        return true;
    }

    uint32_t itemWithReminder(LONG oid, int32_t occurrences = -1) {
        ItemSeed seed;
        seed.first = dateOf(2010, 3, 10);
        seed.reminder = oid;
        seed.occurrences = occurrences;
        return addItem(seed);
    }

    static StoreStatus deleteItem(uint32_t schedule) {
        TransactionRecord item(RecordSource::Planner);
        EXPECT_TRUE(readScheduledItem(schedule, item));
        return deleteScheduledItem(item);
    }

    IPOutlookApp* m_app = nullptr;
};

TEST_F(LinkedReminderTest, AMarkedReminderGoesWithItsItemAndTheUsersOwnStays) {
    EXPECT_EQ(reminderMarker(), u"[Brimwell]");
    const LONG marked = reminder(olAppointmentItem, u"Rent due", u"Scheduled in [Brimwell]");
    const LONG own = reminder(olAppointmentItem, u"Rent due", u"my own note: Brimwell");
    const uint32_t withMarked = itemWithReminder(marked);
    const uint32_t withOwn = itemWithReminder(own);
    ASSERT_EQ(deleteItem(withMarked), StoreStatus::Ok);
    ASSERT_EQ(deleteItem(withOwn), StoreStatus::Ok);
    EXPECT_FALSE(exists(marked));
    EXPECT_TRUE(exists(own));
}

TEST_F(LinkedReminderTest, AnItemOfOneEntryTakesItsReminderWhenEntered) {
    const LONG marked = reminder(olTaskItem, u"[Brimwell] Insurance", u"");
    const uint32_t n = itemWithReminder(marked, 1);
    TransactionRecord entered;
    ASSERT_EQ(enterOccurrence(n, -10000, 0, entered), StoreStatus::Ok);
    EXPECT_FALSE(findPlannerItem(n).has_value());
    EXPECT_FALSE(exists(marked));
}

TEST_F(LinkedReminderTest, AFailedDeleteOfTheItemKeepsTheReminder) {
    const LONG marked = reminder(olAppointmentItem, u"Rent due", u"[Brimwell]");
    const uint32_t n = itemWithReminder(marked);
    platform::cedbFailNthOperation(1);
    EXPECT_NE(deleteItem(n), StoreStatus::Ok);
    platform::cedbFailNthOperation(0);
    EXPECT_TRUE(findPlannerItem(n).has_value());
    EXPECT_TRUE(exists(marked));
}

TEST_F(LinkedReminderTest, EachOutcomeOfTheLookup) {
    const LONG marked = reminder(olTaskItem, u"[Brimwell]", u"");
    const LONG own = reminder(olTaskItem, u"[Brimwell ]", u"[brimwell]");  // not the marker
    EXPECT_EQ(deleteLinkedReminder(0), ReminderOutcome::NoReminder);
    EXPECT_EQ(deleteLinkedReminder(-4), ReminderOutcome::NoReminder);
    EXPECT_EQ(deleteLinkedReminder(999), ReminderOutcome::Missing);
    EXPECT_EQ(deleteLinkedReminder(own), ReminderOutcome::Kept);
    EXPECT_EQ(deleteLinkedReminder(marked), ReminderOutcome::Deleted);
    EXPECT_EQ(deleteLinkedReminder(marked), ReminderOutcome::Missing);
    // A store that cannot be read is not touched.
    std::ofstream(m_root.path() + "/pimstore.txt") << "damaged\n";
    EXPECT_EQ(deleteLinkedReminder(own), ReminderOutcome::Unavailable);
}

}  // namespace
}  // namespace dove::testing
