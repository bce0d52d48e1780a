// A scheduled item's schedule settings as the scheduling code reads them from a Planner record, and
// its occurrence dates.
#pragma once

#include <cstdint>
#include <optional>

#include "Amount.h"
#include "Frequencies.h"
#include "TransactionRecord.h"

namespace dove {

class TableCursor;

// Planner properties beyond the transaction layout, and the Scheduled table's own amount.
namespace plan {
inline constexpr PropertyNumber kFirstDate = tx::kDate;  // 108
inline constexpr PropertyNumber kFrequency = 252;
inline constexpr PropertyNumber kNextDate = tx::kNextOccurrence;  // 253
inline constexpr PropertyNumber kEntered = 254;
inline constexpr PropertyNumber kOccurrences = 255;  // negative: without end
inline constexpr PropertyNumber kLeadDays = 257;
inline constexpr PropertyNumber kFinished = 259;
inline constexpr PropertyNumber kReminder = 261;
inline constexpr PropertyNumber kDayInterval = 262;
inline constexpr PropertyNumber kMemo = tx::kText114;
// Scheduled: the amount an entry had before its first partial payment.
inline constexpr PropertyNumber kAmountBeforePayment = 351;
}  // namespace plan

struct PlannerItem {
    uint32_t number = 0;  // 251
    Date first = 0;       // 108: occurrence 0
    Date next = 0;        // 253
    int32_t frequency = kOnlyOnce;
    int32_t interval = 0;
    int32_t occurrences = -1;  // 255
    int32_t entered = 0;       // 254
    int32_t finished = 0;      // 259
    int32_t leadDays = 0;      // 257
    int32_t reminder = 0;      // 261
    int32_t account = 0;
    int32_t project = 0;
    Amount amount = 0;
    std::u16string currency;

    // Occurrence k (0 for the first): kNoDate when it falls outside the calendar.
    Date occurrence(int64_t k) const { return addPeriods(frequency, first, k, interval); }
    bool hasEnd() const { return occurrences >= 0; }
    // Finished, or every occurrence of an item with an end entered.
    bool isDone() const { return finished != 0 || (hasEnd() && entered >= occurrences); }
};

// The item of the cursor's current Planner record.
PlannerItem plannerItemOf(const TableCursor& planner);

// The item with that schedule number (Planner sorted by 251, which the call leaves in place);
// nullopt when there is none.
std::optional<PlannerItem> findPlannerItem(uint32_t scheduleNumber);

}  // namespace dove
