// The future list's build: which kind of build an end day asks for, preparing the Scheduled table,
// dropping the entries an earlier end day no longer covers, the computed-until day, and reading entries.
#include "FutureList.h"

#include <limits>
#include <map>

#include "CivilCalendar.h"
#include "FinanceStore.h"
#include "FutureListSteps.h"
#include "PlannerItem.h"
#include "platform/windows.h"

namespace dove {
namespace {

// The end of the day the list was last built up to in this process; 0 while none was.
Date g_computedUntil = 0;

Date windowEnd(Date endDay) {
    return static_cast<Date>(calendar::dayOf(endDay) + 1) * kDateDay - kDateMillisecond;
}

// Creates the Scheduled table with its sort orders when the store lacks it.
FutureListStatus ensureScheduledTable() {
    const TableInfo& info = tableInfo(Table::Scheduled);
    if (databaseExists(info.databaseName)) return FutureListStatus::Built;
    SORTORDERSPEC orders[4] = {};
    for (int i = 0; i < info.sortOrderCount; ++i)
        orders[i] = {propertyId(info.sortOrders[i].number, storeTypeOf(info.sortOrders[i].kind)), 0};
    const CEOID oid = CeCreateDatabase(const_cast<LPWSTR>(info.databaseName), 0,
                                       static_cast<WORD>(info.sortOrderCount), orders);
    return oid != 0 ? FutureListStatus::Built : FutureListStatus::CreateFailed;
}

FutureListStatus clearTable(TableCursor& scheduled) {
    for (int i = scheduled.recordCount() - 1; i >= 0; --i)
        if (!scheduled.deleteAt(i)) return FutureListStatus::ReadFailed;
    return FutureListStatus::Built;
}

// Lead days by schedule number.
std::map<int32_t, int32_t> leadDaysOfItems() {
    std::map<int32_t, int32_t> leads;
    TableCursor& planner = tableCursor(Table::Planner);
    const int count = planner.recordCount();
    for (int i = 0; i < count && planner.moveTo(i); ++i)
        leads[planner.getI4(tx::kScheduleNumber)] = planner.getI4(plan::kLeadDays);
    return leads;
}

// Deletes, from the end of the table, the entries that show after endDay.
FutureListStatus shrinkTo(TableCursor& scheduled, int64_t endDay) {
    const std::map<int32_t, int32_t> leads = leadDaysOfItems();
    for (int i = scheduled.recordCount() - 1; i >= 0; --i) {
        if (!scheduled.moveTo(i)) return FutureListStatus::ReadFailed;
        auto lead = leads.find(scheduled.getI4(tx::kScheduleNumber));
        const int64_t shows =
            calendar::dayOf(scheduled.getDate(tx::kDate)) - (lead == leads.end() ? 0 : lead->second);
        if (shows > endDay && !scheduled.deleteAt(i)) return FutureListStatus::WriteFailed;
    }
    return FutureListStatus::Built;
}

// The build inside the store transaction.
FutureListStatus buildWithin(Date end, bool rebuild) {
    FutureListStatus status = ensureScheduledTable();
    if (status != FutureListStatus::Built) return status;
    TableCursor& scheduled = tableCursor(Table::Scheduled);
    SortScope byDate(scheduled, tx::kDate, SortKind::Date);
    if (!byDate.ok()) return FutureListStatus::OpenFailed;
    const int64_t endDay = calendar::dayOf(end);
    if (rebuild) {
        status = clearTable(scheduled);
        return status == FutureListStatus::Built
                   ? detail::fillFutureList(endDay, std::numeric_limits<int64_t>::min())
                   : status;
    }
    if (end < g_computedUntil) return shrinkTo(scheduled, endDay);
    return detail::fillFutureList(endDay, calendar::dayOf(g_computedUntil));
}

}  // namespace

const char* futureListStatusName(FutureListStatus status) {
    switch (status) {
        case FutureListStatus::Built:
            return "built";
        case FutureListStatus::Unchanged:
            return "unchanged";
        case FutureListStatus::OpenFailed:
            return "open failed";
        case FutureListStatus::ReadFailed:
            return "read failed";
        case FutureListStatus::CreateFailed:
            return "create failed";
        case FutureListStatus::WriteFailed:
            return "write failed";
    }
    return "unknown";
}

FutureListStatus buildFutureList(Date endDay, bool force) {
    const Date end = windowEnd(endDay);
    const bool rebuild = force || g_computedUntil == 0;
    if (!rebuild && calendar::dayOf(end) == calendar::dayOf(g_computedUntil))
        return FutureListStatus::Unchanged;
    raiseScheduledChanged();
    FutureListStatus status = FutureListStatus::WriteFailed;
    {
        StoreTransaction bracket;
        if (!bracket.active()) return FutureListStatus::WriteFailed;
        status = buildWithin(end, rebuild);
        if (status == FutureListStatus::Built && !bracket.commit()) status = FutureListStatus::WriteFailed;
    }
    if (status == FutureListStatus::Built) g_computedUntil = end;
    return status;
}

Date futureListComputedUntil() {
    return g_computedUntil;
}

void forgetFutureList() {
    g_computedUntil = 0;
}

bool readFutureList(std::vector<FutureEntry>& entries) {
    entries.clear();
    TableCursor& scheduled = tableCursor(Table::Scheduled);
    SortScope byDate(scheduled, tx::kDate, SortKind::Date);
    if (!byDate.ok()) return false;
    const int count = scheduled.recordCount();
    for (int i = 0; i < count; ++i) {
        if (!scheduled.moveTo(i)) return false;
        FutureEntry e;
        e.date = scheduled.getDate(tx::kDate);
        e.schedule = static_cast<uint32_t>(scheduled.getI4(tx::kScheduleNumber));
        e.account = scheduled.getI4(tx::kAccount);
        e.category = scheduled.getI4(tx::kCategory);
        e.project = scheduled.getI4(tx::kProject);
        e.payee = scheduled.getI4(tx::kPayee);
        e.payeeName = scheduled.getString(tx::kPayeeName);
        e.amount = scheduled.get64(tx::kAmount);
        e.amountBeforePayment = scheduled.get64(plan::kAmountBeforePayment);
        e.currency = scheduled.getString(tx::kCurrency);
        e.memo = scheduled.getString(tx::kText114);
        e.identifier = scheduled.getString(tx::kIdentifier);
        entries.push_back(std::move(e));
    }
    return true;
}

}  // namespace dove
