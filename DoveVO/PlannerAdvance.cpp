// The walk over an item's entered transactions and the item's update.
#include "PlannerAdvance.h"

#include "FinanceStore.h"
#include "Identifiers.h"
#include "PlannerItem.h"
#include "TransactionSteps.h"
#include "TransactionStore.h"

namespace dove {
namespace {

bool sameDay(Date a, Date b) {
    return compareDates(a, b, kCompareDays) == 0;
}

bool onOwnTransaction(const TableCursor& t, uint32_t schedule) {
    return t.getI4(tx::kScheduleNumber) == static_cast<int32_t>(schedule);
}

// Puts the cursor (sorted by occurrence key) on the first transaction entered from the item's next
// occurrence. The next date is the key's date; a next date set by hand to another day than the
// computed occurrence is looked up by the computed one too.
bool seekNextOccurrence(TableCursor& t, const PlannerItem& item) {
    if (t.seekFirstEqual(occurrenceKey(item.number, item.next)) && onOwnTransaction(t, item.number))
        return true;
    const Date computed = item.occurrence(item.entered);
    return computed != item.next && t.seekFirstEqual(occurrenceKey(item.number, computed)) &&
           onOwnTransaction(t, item.number);
}

// Steps over the partial payments of occurrence o from the cursor's transaction; true on the payment
// that completes it, false when another item's or day's transaction, or the table's end, comes first.
bool reachesCompletingPayment(TableCursor& t, uint32_t schedule, Date o) {
    while (t.get64(tx::kUnpaidFlag) != 0) {
        if (!t.moveNext() || !onOwnTransaction(t, schedule) || !sameDay(t.getDate(tx::kScheduledDate), o))
            return false;
    }
    return true;
}

// The item's entered count after counting the occurrences paid in full from its next one on.
int32_t countPaidOccurrences(const PlannerItem& item) {
    TableCursor& t = tableCursor(Table::Transactions);
    SortScope sorted(t, tx::kOccurrenceKey, SortKind::String);
    int32_t k = item.entered;
    if (!sorted.ok() || !seekNextOccurrence(t, item)) return k;
    Date o = item.occurrence(k);
    while (sameDay(t.getDate(tx::kScheduledDate), o) && reachesCompletingPayment(t, item.number, o)) {
        ++k;
        if (item.hasEnd() && k >= item.occurrences) break;
        if (!t.moveNext() || !onOwnTransaction(t, item.number)) break;
        o = item.occurrence(k);
    }
    return k;
}

StoreStatus deleteItem(uint32_t schedule) {
    TransactionRecord record(RecordSource::Planner);
    if (!readScheduledItem(schedule, record)) return StoreStatus::RecordMissing;
    return deleteScheduledItem(record);
}

StoreStatus writeProgress(const PlannerItem& item, int32_t entered, bool finished) {
    TableCursor& planner = tableCursor(Table::Planner);
    if (!findPlannerItem(item.number)) return StoreStatus::RecordMissing;
    std::vector<PropertyValue> values = {PropertyValue::i4(plan::kEntered, entered),
                                         PropertyValue::date(plan::kNextDate, item.occurrence(entered)),
                                         PropertyValue::i4(tx::kModifiedFlag, -1),
                                         PropertyValue::date(tx::kModifiedStamp, nowUtc())};
    if (finished) values.push_back(PropertyValue::i4(plan::kFinished, 1));
    return planner.writeProperties(values) ? StoreStatus::Ok : planner.writeFailure();
}

}  // namespace

StoreStatus advancePlannerItem(uint32_t scheduleNumber) {
    TableCursor& planner = tableCursor(Table::Planner);
    SortScope plannerOrder(planner, tx::kScheduleNumber, SortKind::I4);
    const std::optional<PlannerItem> item = findPlannerItem(scheduleNumber);
    if (!item) return StoreStatus::RecordMissing;
    if (item->finished != 0) return StoreStatus::Ok;
    detail::signalScheduledChanged();
    const int32_t entered = countPaidOccurrences(*item);
    if (entered == item->entered) return StoreStatus::Ok;
    const bool ends = item->hasEnd() && entered >= item->occurrences;
    if (ends && item->occurrences == 1) return deleteItem(scheduleNumber);
    return writeProgress(*item, entered, ends);
}

}  // namespace dove
