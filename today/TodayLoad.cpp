// Reading accounts, account groups, budgets and due scheduled entries from the open finance store.
#include "TodayLoad.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Accounts.h"
#include "Budgets.h"
#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "GroupMembers.h"
#include "TodayFields.h"
#include "TransactionRecord.h"

namespace today {

namespace {

using dove::SortKind;
using dove::SortScope;
using dove::TableCursor;

TableCursor& cursor(dove::Table table) {
    return dove::tableCursor(table);
}

// The balance after the account's last entry dated today or earlier: its running balance, or the
// account's starting balance when it has no such entry. Transactions are in identifier order.
dove::Amount balanceAsOfToday(TableCursor& transactions, int32_t account, dove::Amount startBalance,
                              dove::Date today) {
    const auto number = static_cast<uint32_t>(account);
    if (account > 0 && transactions.seekLastSmaller(dove::dayEndKey(number, today)) &&
        dove::accountOfIdentifier(transactions.getString(dove::tx::kIdentifier)) == number)
        return transactions.get64(dove::tx::kRunningBalance);
    return startBalance;
}

dove::Amount converted(dove::Amount amount, const std::u16string& from, const std::u16string& to,
                       dove::Date date) {
    if (from.empty() || to.empty() || from == to) return amount;
    return dove::amountFromReal(static_cast<double>(amount) * dove::currencyCache().getRate(from, to, date));
}

// The current month's limit of the budget line under the cursor.
dove::Amount monthLimit(const TableCursor& line, dove::Date today) {
    const dove::Amount every = line.get64(fields::kLineLimit);
    if (every != 0) return every;
    const int month = dove::dateFields(today).wMonth;
    return line.get64(static_cast<dove::PropertyNumber>(fields::kLineJanuaryLimit + month - 1));
}

// Adds the active lines of budget number to the budget's plan and total.
void addBudgetLines(TableCursor& lines, LoadedBudget& budget, dove::Date today) {
    if (!lines.seekFirstEqual(budget.id)) return;
    do {
        if (lines.getI4(fields::kBudgetNumber) != budget.id) break;
        if (lines.getI4(fields::kLineActive) < 1) continue;
        budget.planned +=
            converted(monthLimit(lines, today), lines.getString(dove::tx::kCurrency), budget.currency, today);
        budget.actual += lines.get64(fields::kLineMonthTotal);
    } while (lines.moveNext());
}

std::u16string scheduledDescription(const TableCursor& entry) {
    for (dove::PropertyNumber number :
         {dove::tx::kPayeeName, dove::tx::kSecondPayeeName, dove::tx::kText114}) {
        const std::u16string text = entry.getString(number);
        if (!text.empty()) return text;
    }
    return std::u16string();
}

}  // namespace

int percentageUsed(dove::Amount actual, dove::Amount planned) {
    if (planned == 0) return 0;
    const long double share = std::trunc(static_cast<long double>(actual) * 100 / planned);
    constexpr long double kLowest = std::numeric_limits<int>::min();
    constexpr long double kHighest = std::numeric_limits<int>::max();
    return static_cast<int>(share < kLowest ? kLowest : share > kHighest ? kHighest : share);
}

std::vector<LoadedAccount> loadShownAccounts(AccountTotals* totals) {
    std::vector<LoadedAccount> shown;
    TableCursor& accounts = cursor(dove::Table::Accounts);
    SortScope order(accounts, dove::account::kPosition, SortKind::I4);
    if (!order.ok()) return shown;
    for (bool more = accounts.moveTo(0); more; more = accounts.moveNext()) {
        LoadedAccount account;
        account.id = accounts.getI4(dove::account::kNumber);
        account.currency = accounts.getString(dove::account::kCurrency);
        account.balance = accounts.get64(dove::account::kBalance);
        (*totals)[static_cast<uint64_t>(account.id)] = AccountTotal{account.balance, account.currency};
        if (accounts.getI4(fields::kAccountShowOnToday) == 0) continue;
        account.name = accounts.getString(dove::account::kName);
        account.limit = accounts.get64(fields::kAccountLimit);
        account.startBalance =
            accounts.get64(dove::account::kStartAmount) + accounts.get64(dove::account::kOpeningBalance);
        account.todayBalance = account.balance;
        shown.push_back(std::move(account));
    }
    return shown;
}

void loadBalancesAsOfToday(std::vector<LoadedAccount>& accounts, dove::Date today) {
    TableCursor& transactions = cursor(dove::Table::Transactions);
    SortScope byIdentifier(transactions, dove::tx::kIdentifier, SortKind::String);
    if (!byIdentifier.ok()) return;
    for (LoadedAccount& account : accounts)
        account.todayBalance = balanceAsOfToday(transactions, account.id, account.startBalance, today);
}

std::vector<LoadedGroup> loadGroups(const AccountTotals& totals, dove::Date today) {
    std::vector<LoadedGroup> groups;
    TableCursor& customize = cursor(dove::Table::Customize);
    SortScope order(customize, fields::kCustomizeNumber, SortKind::I4);
    if (!order.ok() || !customize.seekFirstGreater(fields::kFirstGroup - 1)) return groups;
    const std::u16string defaultCurrency = dove::currencyCache().defaultCode();
    do {
        LoadedGroup group;
        group.id = customize.getI4(fields::kCustomizeNumber);
        if (group.id < fields::kFirstGroup || group.id > fields::kLastGroup) break;
        group.name = customize.getString(fields::kGroupName);
        group.members = customize.getString(fields::kGroupMembers);
        std::vector<const AccountTotal*> counted;
        for (const GroupMember& member : parseGroupMembers(group.members)) {
            auto found = totals.find(member.account);
            if (member.counts() && found != totals.end()) counted.push_back(&found->second);
        }
        group.currency = counted.empty() ? defaultCurrency : counted.front()->currency;
        for (const AccountTotal* total : counted)
            if (total->currency != group.currency) group.currency = defaultCurrency;
        for (const AccountTotal* total : counted)
            group.balance += converted(total->balance, total->currency, group.currency, today);
        groups.push_back(std::move(group));
    } while (customize.moveNext());
    return groups;
}

std::vector<LoadedBudget> loadBudgets(dove::Date today) {
    std::vector<LoadedBudget> budgets;
    TableCursor& table = cursor(dove::Table::Budgets);
    TableCursor& lines = cursor(dove::Table::BudgetLists);
    SortScope order(table, fields::kBudgetNumber, SortKind::I4);
    SortScope linesOrder(lines, fields::kBudgetNumber, SortKind::I4);
    if (!order.ok() || !linesOrder.ok()) return budgets;
    const std::u16string defaultCurrency = dove::currencyCache().defaultCode();
    for (bool more = table.moveTo(0); more; more = table.moveNext()) {
        LoadedBudget budget;
        budget.id = table.getI4(fields::kBudgetNumber);
        budget.name = table.getString(fields::kName);
        budget.currency = defaultCurrency;
        budget.expense = table.getI4(fields::kBudgetKind) == dove::kExpenseBudget;
        addBudgetLines(lines, budget, today);
        budget.percentage = percentageUsed(budget.actual, budget.planned);
        budgets.push_back(std::move(budget));
    }
    return budgets;
}

std::vector<LoadedScheduled> loadDueScheduled(dove::Date today) {
    std::vector<LoadedScheduled> due;
    TableCursor& entries = cursor(dove::Table::Scheduled);
    TableCursor& planner = cursor(dove::Table::Planner);
    SortScope order(entries, dove::tx::kDate, SortKind::Date);
    SortScope plannerOrder(planner, dove::tx::kScheduleNumber, SortKind::I4);
    if (!order.ok()) return due;
    std::map<int32_t, int32_t> leads;  // lead days by Planner item
    for (bool more = entries.moveTo(0); more; more = entries.moveNext()) {
        LoadedScheduled entry;
        entry.schedule = entries.getI4(dove::tx::kScheduleNumber);
        entry.date = entries.getDate(dove::tx::kDate);
        auto leadDays = leads.find(entry.schedule);
        if (leadDays == leads.end()) {
            const bool found = plannerOrder.ok() && planner.seekFirstEqual(entry.schedule);
            leadDays = leads.emplace(entry.schedule, found ? planner.getI4(fields::kLeadDays) : 0).first;
        }
        const dove::Date lead = static_cast<dove::Date>(std::max(leadDays->second, 0)) * dove::kDateDay;
        const dove::Date shown = entry.date > lead ? entry.date - lead : 0;
        if (dove::compareDates(shown, today, dove::kCompareDays) > 0) continue;
        entry.description = scheduledDescription(entries);
        entry.amount = entries.get64(dove::tx::kAmount);
        entry.currency = entries.getString(dove::tx::kCurrency);
        due.push_back(std::move(entry));
    }
    return due;
}

}  // namespace today
