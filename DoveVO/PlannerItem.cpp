// Reading a Planner record's schedule settings.
#include "PlannerItem.h"

#include "FinanceStore.h"

namespace dove {

PlannerItem plannerItemOf(const TableCursor& planner) {
    PlannerItem item;
    item.number = static_cast<uint32_t>(planner.getI4(tx::kScheduleNumber));
    item.first = planner.getDate(plan::kFirstDate);
    item.next = planner.getDate(plan::kNextDate);
    item.frequency = planner.getI4(plan::kFrequency);
    item.interval = planner.getI4(plan::kDayInterval);
    item.occurrences = planner.getI4(plan::kOccurrences);
    item.entered = planner.getI4(plan::kEntered);
    item.finished = planner.getI4(plan::kFinished);
    item.leadDays = planner.getI4(plan::kLeadDays);
    item.reminder = planner.getI4(plan::kReminder);
    item.account = planner.getI4(tx::kAccount);
    item.project = planner.getI4(tx::kProject);
    item.amount = planner.get64(tx::kAmount);
    item.currency = planner.getString(tx::kCurrency);
    return item;
}

std::optional<PlannerItem> findPlannerItem(uint32_t scheduleNumber) {
    TableCursor& planner = tableCursor(Table::Planner);
    if (!planner.ensureSort(tx::kScheduleNumber, SortKind::I4) ||
        !planner.seekFirstEqual(static_cast<int32_t>(scheduleNumber)))
        return std::nullopt;
    return plannerItemOf(planner);
}

}  // namespace dove
