// The demonstration store's plans: a monthly budget with lines for the main expense categories, and
// scheduled items of different frequencies (rent with a memo naming its month, a salary twice a month, an
// annual insurance, a loan of twelve payments partly entered, a bill paid in part).
#include "DemoData.h"
#include "FinanceStore.h"
#include "Frequencies.h"
#include "Identifiers.h"
#include "OccurrenceEntry.h"
#include "PlannerItem.h"
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
    int firstInDays;      // the first occurrence, counted from today (negative: in the past)
    int32_t leadDays;     // 257
    const char16_t* memo;
};

constexpr ScheduleSeed kSchedules[] = {
    {"Oakwood Apartments", kChecking, "Home:Rent", -120000, dove::kMonthly, 0, -1, 9, 5,
     u"Rent for {month} {year}"},
    {"Acme Corp", kChecking, "Salary", 250000, dove::kTwiceAMonth, 0, -1, 4, 3, u"Salary, week {week}"},
    {"Fresh Market", kChecking, "Groceries", -7000, dove::kWeekly, 0, 52, 2, 1, u""},
    {"Jiffy Lube", kChecking, "Car:Service", -8900, dove::kQuarterly, 0, 4, 30, 7, u""},
    {"Blue Shield", kChecking, "Health", -64000, dove::kAnnually, 0, -1, 45, 14,
     u"Health insurance {year}/{year+1}"},
    {"IKEA", kChecking, "Home:Furniture", -13500, dove::kMonthly, 0, 12, -240, 3,
     u"Furniture loan, payment for {month} {year}"},
    {"City Power", kChecking, "Home:Utilities", -33000, dove::kQuarterly, 0, -1, 5, 10,
     u"Electricity {month-3} to {month-1}"},
    {"Savings Transfer", kChecking, "", -50000, dove::kEveryNDays, 30, 12, 12, 3, u""},
};

// The loan's payments so far, and a part of the electricity bill paid ahead of its date.
constexpr const char* kLoanPayee = "IKEA";
constexpr const char* kPaidInPartPayee = "City Power";
constexpr dove::Amount kPartPaid = -15000;

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
        item.set64(dove::plan::kNextDate, first);
        item.setI4(dove::plan::kFrequency, seed.frequency);
        item.setI4(dove::plan::kDayInterval, seed.dayInterval);
        item.setI4(dove::plan::kEntered, 0);
        item.setI4(dove::plan::kOccurrences, seed.total);
        item.setI4(dove::plan::kLeadDays, seed.leadDays);
        item.setI4(dove::plan::kFinished, 0);
        if (*seed.memo != u'\0') item.setText(dove::plan::kMemo, seed.memo);
        if (dove::addNewTransaction(item) != dove::StoreStatus::Ok) return false;
        c.schedules[seed.payee] = static_cast<uint32_t>(item.i4(dove::tx::kScheduleNumber));
    }
    return true;
}

bool seedScheduledPayments(Context& c) {
    dove::TransactionRecord entered;
    const uint32_t loan = c.schedules[kLoanPayee];
    dove::OccurrenceDue due;
    while (dove::nextOccurrenceDue(loan, due) == dove::DueState::Due && due.date < c.today) {
        if (dove::enterOccurrence(loan, due.remaining(), 0, entered) != dove::StoreStatus::Ok) return false;
    }
    return dove::enterOccurrence(c.schedules[kPaidInPartPayee], kPartPaid, c.today, entered) ==
           dove::StoreStatus::Ok;
}

}  // namespace financestore::demo
