// Counting the occurrences paid in full from the payments themselves, apart from the entry path.
#include "ScheduleChecks.h"

#include <map>
#include <set>

#include "FinanceStore.h"
#include "PlannerItem.h"
#include "platform/windows.h"

namespace financestore {
namespace {

struct ItemPayments {
    std::set<int64_t> paidDays;  // days of the occurrences a payment completed
};

// The payments of every item, from every transaction that names one (the reserved account's too: an
// entered occurrence deleted by the user still counts).
std::map<int32_t, ItemPayments> paymentsByItem() {
    std::map<int32_t, ItemPayments> items;
    dove::TableCursor& t = dove::tableCursor(dove::Table::Transactions);
    const int count = t.recordCount();
    for (int i = 0; i < count && t.moveTo(i); ++i) {
        const int32_t schedule = t.getI4(dove::tx::kScheduleNumber);
        if (schedule == 0) continue;
        ItemPayments& item = items[schedule];
        if (t.get64(dove::tx::kUnpaidFlag) == 0)
            item.paidDays.insert(static_cast<int64_t>(t.getDate(dove::tx::kScheduledDate) / dove::kDateDay));
    }
    return items;
}

}  // namespace

std::vector<std::string> checkSchedules(const StoreSnapshot&) {
    std::vector<std::string> out;
    std::map<int32_t, ItemPayments> payments = paymentsByItem();
    dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
    const int count = planner.recordCount();
    std::set<int32_t> items;
    for (int i = 0; i < count && planner.moveTo(i); ++i) {
        const dove::PlannerItem item = dove::plannerItemOf(planner);
        const int32_t number = static_cast<int32_t>(item.number);
        items.insert(number);
        const size_t paid = payments[number].paidDays.size();
        if (static_cast<size_t>(item.entered < 0 ? 0 : item.entered) != paid)
            out.push_back("schedule: item " + std::to_string(number) + " counts " +
                          std::to_string(item.entered) + " entered occurrences, but " + std::to_string(paid) +
                          " are paid in full");
    }
    for (const auto& [schedule, item] : payments)
        if (items.count(schedule) == 0)
            out.push_back("schedule: transactions name the scheduled item " + std::to_string(schedule) +
                          ", which does not exist");
    return out;
}

}  // namespace financestore
