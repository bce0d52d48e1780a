// The store fixture with scheduled items: adding Planner items, entering payments of their occurrences
// behind the entry path's back, and reading an item's schedule settings.
#pragma once

#include <string>

#include "Frequencies.h"
#include "PlannerItem.h"
#include "StoreFixture.h"
#include "TransactionStore.h"

namespace dove::testing {

struct ItemSeed {
    Date first = 0;
    int32_t frequency = kMonthly;
    Amount amount = -10000;
    int32_t occurrences = -1;  // without end
    int32_t entered = 0;
    int32_t finished = 0;
    int32_t leadDays = 0;
    int32_t interval = 0;
    int32_t account = 7;
    int32_t category = 0;
    int32_t project = 0;
    std::u16string currency = u"USD";
    std::u16string memo;
    std::u16string payee = u"Oakwood Apartments";
    int32_t reminder = 0;
};

class ScheduleTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        addAccount({9});
    }

    // Saves a new scheduled item (its next date the occurrence after those entered) and returns its
    // schedule number.
    static uint32_t addItem(const ItemSeed& seed) {
        TransactionRecord item(RecordSource::Planner);
        item.setAccount(seed.account);
        item.setAmount(seed.amount);
        item.setCurrency(seed.currency);
        item.setDate(seed.first);
        item.setCategory(seed.category);
        item.setProject(seed.project);
        item.setPayeeName(seed.payee);
        item.set64(plan::kNextDate, addPeriods(seed.frequency, seed.first, seed.entered, seed.interval));
        item.setI4(plan::kFrequency, seed.frequency);
        item.setI4(plan::kOccurrences, seed.occurrences);
        item.setI4(plan::kEntered, seed.entered);
        item.setI4(plan::kFinished, seed.finished);
        item.setI4(plan::kLeadDays, seed.leadDays);
        item.setI4(plan::kDayInterval, seed.interval);
        item.setI4(plan::kReminder, seed.reminder);
        if (!seed.memo.empty()) item.setText(plan::kMemo, seed.memo);
        EXPECT_EQ(addNewTransaction(item), StoreStatus::Ok);
        return static_cast<uint32_t>(item.i4(tx::kScheduleNumber));
    }

    // A payment toward the occurrence on date of item schedule, written as the entry path writes one
    // (unpaid: a part of it is still due).
    static TransactionRecord payment(uint32_t schedule, Date occurrence, Amount paid, bool unpaid,
                                     int32_t account = 7) {
        TransactionRecord r;
        r.setAccount(account);
        r.setDate(occurrence);
        r.setAmount(paid);
        r.setCurrency(u"USD");
        r.setI4(tx::kScheduleNumber, static_cast<int32_t>(schedule));
        r.setText(tx::kOccurrenceKey, occurrenceKey(schedule, occurrence));
        r.set64(tx::kScheduledDate, occurrence);
        r.set64(tx::kUnpaidFlag, unpaid ? 1 : 0);
        r.set64(tx::kPaidAmount, static_cast<uint64_t>(paid));
        EXPECT_EQ(addNewTransaction(r), StoreStatus::Ok);
        return r;
    }

    static PlannerItem itemNumber(uint32_t schedule) {
        std::optional<PlannerItem> item = findPlannerItem(schedule);
        EXPECT_TRUE(item.has_value()) << "no item " << schedule;
        return item.value_or(PlannerItem{});
    }
};

}  // namespace dove::testing
