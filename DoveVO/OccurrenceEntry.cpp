// Building the transaction of an occurrence's payment and the writes that follow it.
#include "OccurrenceEntry.h"

#include <cstring>

#include "Accounts.h"
#include "CivilCalendar.h"
#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "MemoExpansion.h"
#include "PlannerAdvance.h"
#include "PlannerItem.h"
#include "TransactionStore.h"

namespace dove {
namespace {

// The fields a scheduled item gives the transactions entered from it, as it holds them.
constexpr PropertyNumber kCopiedNumbers[] = {tx::kPayee,   tx::kCategory, tx::kProject,
                                             tx::kCleared, tx::kExcluded, 133};
constexpr PropertyNumber kCopiedTexts[] = {tx::kPayeeName, tx::kSecondPayeeName, tx::kSideText, tx::kText115,
                                           tx::kText138};

bool sameDay(Date a, Date b) {
    return compareDates(a, b, kCompareDays) == 0;
}

// The sum of the partial payments entered toward the item's occurrence o.
Amount partialPaymentsOf(uint32_t schedule, Date o) {
    TableCursor& t = tableCursor(Table::Transactions);
    SortScope sorted(t, tx::kOccurrenceKey, SortKind::String);
    Amount paid = 0;
    if (!sorted.ok() || !t.seekFirstGreater(accountStartKey(schedule))) return paid;
    do {
        if (t.getI4(tx::kScheduleNumber) != static_cast<int32_t>(schedule)) break;
        if (sameDay(t.getDate(tx::kScheduledDate), o) && t.get64(tx::kUnpaidFlag) != 0)
            paid += t.get64(tx::kPaidAmount);
    } while (t.moveNext());
    return paid;
}

// The record's amount in its account's currency; an amount kept in another currency is converted at
// the rate of the record's date and also kept as the entered amount with its rate.
void setAmountFor(TransactionRecord& r, Amount amount, const std::u16string& itemCurrency) {
    const std::u16string accountCode = accountCurrency(r.account());
    r.setCurrency(accountCode.empty() ? itemCurrency : accountCode);
    if (itemCurrency.empty() || accountCode.empty() || itemCurrency == accountCode) {
        r.setAmount(amount);
        return;
    }
    const double rate = currencyCache().getRate(itemCurrency, accountCode, r.date());
    r.setAmount(amountFromReal(static_cast<double>(amount) * rate));
    r.setEnteredAmount(amount, itemCurrency);
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    r.set64(tx::kRate, bits);
}

TransactionRecord paymentRecord(const OccurrenceDue& due, Amount payment, Date date, bool completes) {
    TableCursor& planner = tableCursor(Table::Planner);
    TransactionRecord r;
    r.setAccount(planner.getI4(tx::kAccount));
    r.setDate(date != 0 ? date : due.date);
    for (PropertyNumber n : kCopiedNumbers)
        if (planner.hasProperty(n)) r.setI4(n, planner.getI4(n));
    for (PropertyNumber n : kCopiedTexts)
        if (planner.hasProperty(n)) r.setText(n, planner.getString(n));
    const std::u16string memo = planner.getString(plan::kMemo);
    if (!memo.empty()) r.setText(plan::kMemo, expandMemo(memo, due.date));
    setAmountFor(r, payment, due.currency);
    r.setKind(kKindPlain);
    r.setI4(tx::kScheduleNumber, static_cast<int32_t>(due.schedule));
    r.setText(tx::kOccurrenceKey, occurrenceKey(due.schedule, due.date));
    r.set64(tx::kScheduledDate, due.date);
    r.set64(tx::kUnpaidFlag, completes ? 0 : 1);
    r.set64(tx::kPaidAmount, static_cast<uint64_t>(payment));
    return r;
}

bool completesOccurrence(const OccurrenceDue& due, Amount payment) {
    const Amount remaining = due.remaining();
    if (remaining == 0 || (remaining < 0) != (payment < 0)) return true;
    return payment < 0 ? payment <= remaining : payment >= remaining;
}

// The future-list entry of the occurrence, when the list holds one: a completed occurrence leaves the
// list; a partial payment lowers the amount due, the first one keeping the amount it had in 351.
StoreStatus settleFutureEntry(const OccurrenceDue& due, Amount payment, bool completes) {
    TableCursor& s = tableCursor(Table::Scheduled);
    SortScope sorted(s, tx::kDate, SortKind::Date);
    const Date dayStart = calendar::dayOf(due.date) * kDateDay;
    const bool found = dayStart == 0 ? s.moveTo(0) : s.seekFirstGreater(dayStart - 1);
    if (!sorted.ok() || !found) return StoreStatus::Ok;
    do {
        if (!sameDay(s.getDate(tx::kDate), due.date)) break;
        if (s.getI4(tx::kScheduleNumber) != static_cast<int32_t>(due.schedule)) continue;
        if (completes) return s.deleteAt(s.position()) ? StoreStatus::Ok : s.writeFailure();
        const Amount amount = s.get64(tx::kAmount);
        std::vector<PropertyValue> values = {
            PropertyValue::date(tx::kAmount, static_cast<uint64_t>(amount - payment))};
        if (s.get64(plan::kAmountBeforePayment) == 0)
            values.push_back(PropertyValue::date(plan::kAmountBeforePayment, static_cast<uint64_t>(amount)));
        return s.writeProperties(values) ? StoreStatus::Ok : s.writeFailure();
    } while (s.moveNext());
    return StoreStatus::Ok;
}

}  // namespace

DueState nextOccurrenceDue(uint32_t scheduleNumber, OccurrenceDue& due) {
    TableCursor& planner = tableCursor(Table::Planner);
    SortScope plannerOrder(planner, tx::kScheduleNumber, SortKind::I4);
    const std::optional<PlannerItem> item = findPlannerItem(scheduleNumber);
    if (!item) return DueState::NoSuchItem;
    const Date date = item->occurrence(item->entered);
    if (item->isDone() || date == calendar::kNoDate) return DueState::Finished;
    due = OccurrenceDue{};
    due.schedule = scheduleNumber;
    due.index = item->entered;
    due.date = date;
    due.amount = item->amount;
    due.currency = item->currency;
    due.paid = partialPaymentsOf(scheduleNumber, date);
    return DueState::Due;
}

StoreStatus enterOccurrence(uint32_t scheduleNumber, Amount payment, Date date, TransactionRecord& entered) {
    OccurrenceDue due;
    const DueState state = nextOccurrenceDue(scheduleNumber, due);
    if (state == DueState::NoSuchItem) return StoreStatus::RecordMissing;
    if (state == DueState::Finished || payment == 0 || (due.amount != 0 && (payment < 0) != (due.amount < 0)))
        return StoreStatus::InvalidRecord;
    const bool completes = completesOccurrence(due, payment);
    TableCursor& planner = tableCursor(Table::Planner);
    SortScope plannerOrder(planner, tx::kScheduleNumber, SortKind::I4);
    if (!findPlannerItem(scheduleNumber)) return StoreStatus::RecordMissing;
    TransactionRecord record = paymentRecord(due, payment, date, completes);
    const StoreStatus status = inStoreTransaction([&] {
        StoreStatus s = addNewTransaction(record);
        if (s == StoreStatus::Ok && completes) s = advancePlannerItem(scheduleNumber);
        if (s == StoreStatus::Ok) s = settleFutureEntry(due, payment, completes);
        return s;
    });
    if (status == StoreStatus::Ok) entered = std::move(record);
    return status;
}

}  // namespace dove
