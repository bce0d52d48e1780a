// Reading the item's data from the open finance store, one table group at a time. Each reader puts
// the cursors it uses into the order it needs for its own scope and restores the order it found.
#pragma once

#include <map>

#include "TodayData.h"

namespace today {

// Every account's total balance and currency, by account number.
struct AccountTotal {
    dove::Amount balance = 0;
    std::u16string currency;
};
using AccountTotals = std::map<uint64_t, AccountTotal>;

// The accounts marked to be shown on Today, in display order (their balance as of today taken as their
// total for now); *totals receives every account's total.
std::vector<LoadedAccount> loadShownAccounts(AccountTotals* totals);

// Each account's balance after its last entry dated today or earlier. This reads the Transactions
// table, which a store changed by another program makes the store read again whole, so it is done
// only when the details that show it open, not at every refresh.
void loadBalancesAsOfToday(std::vector<LoadedAccount>& accounts, dove::Date today);

// The account groups 1000 to 1099 in number order, each with the sum of its counted members'
// balances: in their currency when they all share one, else converted into the default currency at
// today's rates.
std::vector<LoadedGroup> loadGroups(const AccountTotals& totals, dove::Date today);

// Every budget in number order, with this month's plan and total over its active lines.
std::vector<LoadedBudget> loadBudgets(dove::Date today);

// The entries of the Scheduled table (the future list) that are due by today: those whose date,
// moved earlier by their Planner item's lead days, falls on today or before. In date order.
std::vector<LoadedScheduled> loadDueScheduled(dove::Date today);

}  // namespace today
