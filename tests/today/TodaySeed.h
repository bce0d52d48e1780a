// Seeding a finance store with what the Today item shows: accounts shown on Today with their limits,
// account groups, budgets with their lines, due entries of the future list, transactions with running
// balances and the data password's digest. Used by the item's tests in-process and by the end-to-end
// tests before they start the home screen.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "DateTime.h"

namespace todaytest {

struct AccountSeed {
    int32_t number;
    std::u16string name;
    std::u16string currency;
    int64_t balance;
    int64_t limit = 0;
    bool shown = true;  // marked to be shown on Today
    int64_t start = 0;  // the starting balance (opening amount)
};

struct BudgetLineSeed {
    int64_t monthLimit;  // the line's limit for every month
    int64_t monthTotal;  // this month's total
    bool active = true;
};

// The store of the current device root, opened for the seed's life and closed after it; every add
// fails the test when the store refuses it.
class StoreSeed {
  public:
    StoreSeed();
    ~StoreSeed();
    StoreSeed(const StoreSeed&) = delete;
    StoreSeed& operator=(const StoreSeed&) = delete;

    // Accounts come in display order, after those already added.
    void account(const AccountSeed& seed);
    void group(int32_t number, const std::u16string& name, const std::u16string& members);
    void budget(int32_t number, const std::u16string& name, bool expense,
                std::initializer_list<BudgetLineSeed> lines);
    // A Planner item with lead days, and an entry of the future list for it.
    void plannerItem(int32_t schedule, int32_t leadDays);
    void scheduled(int32_t schedule, const std::u16string& payee, dove::Date date, int64_t amount,
                   const std::u16string& currency);
    // A transaction of an account with its stored running balance.
    void transaction(int32_t account, dove::Date date, int64_t amount, int64_t runningBalance);
    // A record of the reserved password account carrying digest.
    void password(dove::Date date, int64_t digest);

  private:
    int32_t m_position = 0;
};

// Adds the accounts in one seed.
void seedAccounts(std::initializer_list<AccountSeed> accounts);

// Sets "Scheduled Today Show" of the option key.
void showScheduledOnToday(bool show);

// Today (local) at midnight, moved by days.
dove::Date dayFromToday(int days);

}  // namespace todaytest
