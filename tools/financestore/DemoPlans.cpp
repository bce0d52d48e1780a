// The demonstration store's plans: a monthly budget with lines for the main expense categories, and six
// scheduled items of different frequencies.
#include "DemoData.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace financestore::demo {
namespace {

using dove::PropertyValue;

constexpr int32_t kBudgetNumber = 1;
constexpr int32_t kExpenseBudgetKind = 0;

struct LineSeed {
    const char* category;
    dove::Amount monthlyLimit;
    int32_t type;
};

constexpr LineSeed kLines[] = {
    {"Groceries", -60000, 2},      {"Dining", -25000, 2},        {"Car", -30000, 2},
    {"Home:Utilities", -25000, 2}, {"Entertainment", -15000, 2}, {"Health", -20000, 2},
};

struct ScheduleSeed {
    const char* payee;
    int32_t account;
    const char* category;  // "" for a transfer to Savings
    dove::Amount amount;
    int32_t frequency;    // 252
    int32_t dayInterval;  // 262, for frequency 12
    int32_t total;        // 255; negative: without end
    int firstInDays;      // the first occurrence, counted from today
};

constexpr ScheduleSeed kSchedules[] = {
    {"Oakwood Apartments", kChecking, "Home:Rent", -120000, 5, 0, -1, 9},
    {"Acme Corp", kChecking, "Salary", 250000, 2, 0, -1, 4},
    {"Fresh Market", kChecking, "Groceries", -7000, 1, 0, 52, 2},
    {"Jiffy Lube", kChecking, "Car:Service", -8900, 8, 0, 4, 30},
    {"Netflix", kChecking, "Entertainment", -1599, 10, 0, -1, 45},
    {"Savings Transfer", kChecking, "", -50000, 12, 30, 12, 12},
};

}  // namespace

bool seedBudget(Context& c) {
    dove::TableCursor& budgets = dove::tableCursor(dove::Table::Budgets);
    if (budgets.addRecord(
            {PropertyValue::i4(501, kBudgetNumber), PropertyValue::string(110, u"Monthly budget"),
             PropertyValue::i4(201, 0), PropertyValue::string(301, u"USD"), PropertyValue::i4(402, 1),
             PropertyValue::i4(504, kExpenseBudgetKind), PropertyValue::string(135, dove::newRecordKeyText()),
             PropertyValue::date(128, dove::nowUtc())}) == 0)
        return false;
    dove::TableCursor& lines = dove::tableCursor(dove::Table::BudgetLists);
    for (const LineSeed& seed : kLines) {
        if (lines.addRecord({PropertyValue::i4(501, kBudgetNumber),
                             PropertyValue::i4(401, c.category(seed.category)), PropertyValue::i4(402, 1),
                             PropertyValue::date(404, static_cast<uint64_t>(seed.monthlyLimit)),
                             PropertyValue::date(417, 0), PropertyValue::i4(430, seed.type),
                             PropertyValue::string(301, u"USD"),
                             PropertyValue::string(135, dove::newRecordKeyText()),
                             PropertyValue::date(128, dove::nowUtc())}) == 0)
            return false;
    }
    return true;
}

bool seedScheduledItems(Context& c) {
    for (const ScheduleSeed& seed : kSchedules) {
        dove::TransactionRecord item(dove::RecordSource::Planner);
        const dove::Date first = addDays(c.today, seed.firstInDays);
        item.setAccount(seed.account);
        item.setPayee(c.payee(seed.payee));
        item.setPayeeName(platform::fromUtf8(seed.payee));
        item.setCategory(*seed.category != '\0' ? c.category(seed.category) : -kSavings);
        item.setAmount(seed.amount);
        item.setCurrency(u"USD");
        item.setDate(first);
        item.set64(253, first);
        item.setI4(252, seed.frequency);
        item.setI4(262, seed.dayInterval);
        item.setI4(254, 0);
        item.setI4(255, seed.total);
        item.setI4(257, 3);
        item.setI4(259, 0);
        if (dove::addNewTransaction(item) != dove::StoreStatus::Ok) return false;
    }
    return true;
}

}  // namespace financestore::demo
