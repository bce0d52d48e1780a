// The occurrences of each scheduled item up to the end day, the payments already entered toward them,
// and the Scheduled records that list them.
#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <vector>

#include "CivilCalendar.h"
#include "FinanceStore.h"
#include "FutureListSteps.h"
#include "Identifiers.h"
#include "MemoExpansion.h"
#include "PlannerItem.h"

namespace dove::detail {
namespace {

// The fields of a scheduled item that its future-list entries carry.
constexpr PropertyNumber kEntryFields[] = {
    tx::kAccount, tx::kPayee,   tx::kPayeeName, tx::kSecondPayeeName, tx::kCategory,
    tx::kProject, tx::kAmount,  tx::kCurrency,  tx::kSideText,        tx::kText115,
    tx::kText138, tx::kCleared, tx::kKind,      tx::kExcluded,        133};

// What was entered toward the occurrences of one day.
struct DayPayments {
    bool paidInFull = false;
    bool partial = false;
    Amount paid = 0;  // the sum of the partial payments
};
using PaymentsByDay = std::map<int64_t, DayPayments>;

// The payments entered from the item, by the day of the occurrence each pays (Transactions sorted by
// occurrence key, where the item's keys begin with its number and "_").
PaymentsByDay paymentsOf(TableCursor& transactions, uint32_t schedule) {
    PaymentsByDay days;
    if (!transactions.seekFirstGreater(accountStartKey(schedule))) return days;
    do {
        if (transactions.getI4(tx::kScheduleNumber) != static_cast<int32_t>(schedule)) break;
        DayPayments& day = days[calendar::dayOf(transactions.getDate(tx::kScheduledDate))];
        if (transactions.get64(tx::kUnpaidFlag) == 0) {
            day.paidInFull = true;
        } else {
            day.partial = true;
            day.paid += transactions.get64(tx::kPaidAmount);
        }
    } while (transactions.moveNext());
    return days;
}

// Copies of the item's entry fields (the cursor's strings live only as long as its current record).
std::vector<PropertyValue> entryTemplate(const TableCursor& planner) {
    std::vector<PropertyValue> values;
    for (const PropertyValue& v : planner.values()) {
        if (std::find(std::begin(kEntryFields), std::end(kEntryFields), v.number()) == std::end(kEntryFields))
            continue;
        if (v.type() == CEVT_I4)
            values.push_back(PropertyValue::i4(v.number(), v.i4Value()));
        else if (v.type() == CEVT_FILETIME)
            values.push_back(PropertyValue::date(v.number(), v.dateValue()));
        else if (v.type() == CEVT_LPWSTR)
            values.push_back(PropertyValue::string(v.number(), v.text()));
    }
    return values;
}

struct ItemEntries {
    PlannerItem item;
    std::vector<PropertyValue> fields;
    std::u16string memo;
};

// The entry of occurrence o; remaining is what a partial payment left due (nullptr without one).
std::vector<PropertyValue> entryValues(const ItemEntries& e, Date o, const Amount* remaining) {
    std::vector<PropertyValue> values = e.fields;
    values.push_back(PropertyValue::date(tx::kDate, o));
    values.push_back(PropertyValue::i4(tx::kScheduleNumber, static_cast<int32_t>(e.item.number)));
    if (e.item.account >= 1)
        values.push_back(PropertyValue::string(
            tx::kIdentifier, transactionIdentifier(static_cast<uint32_t>(e.item.account), o)));
    if (e.item.project > 1)
        values.push_back(PropertyValue::string(
            tx::kProjectKey, transactionIdentifier(static_cast<uint32_t>(e.item.project), o)));
    if (!e.memo.empty()) values.push_back(PropertyValue::string(tx::kText114, expandMemo(e.memo, o)));
    if (remaining != nullptr) {
        values.push_back(
            PropertyValue::date(plan::kAmountBeforePayment, static_cast<uint64_t>(e.item.amount)));
        auto amount = std::find_if(values.begin(), values.end(),
                                   [](const PropertyValue& v) { return v.number() == tx::kAmount; });
        if (amount != values.end())
            *amount = PropertyValue::date(tx::kAmount, static_cast<uint64_t>(*remaining));
        else
            values.push_back(PropertyValue::date(tx::kAmount, static_cast<uint64_t>(*remaining)));
    }
    return values;
}

// Whether an occurrence with these payments is listed, and what remains due when a part was paid.
bool stillDue(const ItemEntries& e, const DayPayments* day, Amount& remaining) {
    if (day == nullptr) return true;
    if (day->paidInFull) return false;
    if (!day->partial) return true;
    remaining = e.item.amount - day->paid;
    return remaining != 0 && (remaining < 0) == (e.item.amount < 0);
}

FutureListStatus fillItem(TableCursor& scheduled, TableCursor& transactions, const ItemEntries& e,
                          int64_t endDay, int64_t afterDay) {
    const PlannerItem& item = e.item;
    PaymentsByDay payments;
    bool paymentsRead = false;
    Date previous = 0;
    for (int64_t k = std::max(item.entered, 0); !item.hasEnd() || k < item.occurrences; ++k) {
        const Date o = item.occurrence(k);
        // An item whose date does not move on (only once, or no interval) has one occurrence to list.
        if (o == calendar::kNoDate || (k > item.entered && o <= previous)) break;
        previous = o;
        const int64_t shows = calendar::dayOf(o) - item.leadDays;
        if (shows > endDay) break;
        if (shows <= afterDay) continue;
        if (!paymentsRead) {
            payments = paymentsOf(transactions, item.number);
            paymentsRead = true;
        }
        auto found = payments.find(calendar::dayOf(o));
        Amount remaining = 0;
        const DayPayments* day = found == payments.end() ? nullptr : &found->second;
        if (!stillDue(e, day, remaining)) continue;
        const bool partial = day != nullptr && day->partial;
        if (scheduled.addRecordUnread(entryValues(e, o, partial ? &remaining : nullptr)) == 0)
            return FutureListStatus::WriteFailed;
    }
    return FutureListStatus::Built;
}

}  // namespace

FutureListStatus fillFutureList(int64_t endDay, int64_t afterDay) {
    TableCursor& planner = tableCursor(Table::Planner);
    TableCursor& transactions = tableCursor(Table::Transactions);
    SortScope plannerOrder(planner, tx::kScheduleNumber, SortKind::I4);
    SortScope transactionOrder(transactions, tx::kOccurrenceKey, SortKind::String);
    if (!plannerOrder.ok() || !transactionOrder.ok()) return FutureListStatus::ReadFailed;
    TableCursor& scheduled = tableCursor(Table::Scheduled);
    const int count = planner.recordCount();
    for (int i = 0; i < count; ++i) {
        if (!planner.moveTo(i)) return FutureListStatus::ReadFailed;
        ItemEntries e{plannerItemOf(planner), entryTemplate(planner), planner.getString(plan::kMemo)};
        if (e.item.finished != 0) continue;
        const FutureListStatus status = fillItem(scheduled, transactions, e, endDay, afterDay);
        if (status != FutureListStatus::Built) return status;
    }
    return FutureListStatus::Built;
}

}  // namespace dove::detail
