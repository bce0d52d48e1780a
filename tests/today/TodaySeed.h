// Seeding a finance store with what the Today item shows: accounts shown on Today with their limits,
// account groups, budgets with their lines, scheduled items and the payments entered toward them,
// transactions with running balances and the data password's digest. Used by the item's tests in-process and
// by the end-to-end tests before they start the home screen.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "DateTime.h"
#include "Frequencies.h"

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

// A scheduled item of account 1 whose next occurrence is the first one not entered.
struct PlannerSeed {
    int32_t schedule;
    std::u16string payee;
    dove::Date first;  // occurrence 0
    int64_t amount;
    int32_t frequency = dove::kMonthly;
    int32_t occurrences = -1;  // negative: without end
    int32_t entered = 0;
    int32_t leadDays = 0;
    std::u16string memo = u"";
    std::u16string currency = u"USD";
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
    void plannerItem(const PlannerSeed& seed);
    // A payment of account 1 toward the occurrence on that date of a scheduled item, as entering it
    // writes one: a part of it (something still due) or the payment that completes it.
    void payment(int32_t schedule, dove::Date occurrence, int64_t paid, bool completes);
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
