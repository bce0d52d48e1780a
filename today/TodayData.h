// The data the Today item shows, loaded from the finance store as a whole: the store is opened for a
// load and closed after it, so that nothing is read while the item paints. Every text the details
// show is made during the load, while the store's currencies are at hand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"
#include "FutureList.h"

namespace today {

// An account shown on Today.
struct LoadedAccount {
    int32_t id = 0;
    std::u16string name;
    std::u16string currency;
    dove::Amount balance = 0;       // the total balance, with entries dated after today
    dove::Amount todayBalance = 0;  // the balance after the last entry dated today or earlier
    dove::Amount startBalance = 0;  // the balance before the account's first entry
    dove::Amount limit = 0;         // 0: none
    std::u16string markup;          // the details entry

    // Over its limit: a limit is set and the total balance is below it.
    bool needsAttention() const { return limit != 0 && balance < limit; }
};

// An account group of the Customize table.
struct LoadedGroup {
    int32_t id = 0;
    std::u16string name;
    std::u16string members;  // the member list as stored
    std::u16string currency;
    dove::Amount balance = 0;  // the counted members' balances, in the currency above
    std::u16string markup;
};

// A budget with this month's planned and actual amounts over its active lines, in the default
// currency.
struct LoadedBudget {
    int32_t id = 0;
    std::u16string name;
    std::u16string currency;
    bool expense = false;  // type 1: an expense budget
    dove::Amount planned = 0;
    dove::Amount actual = 0;
    int percentage = 0;  // actual / planned x 100, truncated; 0 without a plan
    std::u16string markup;
    std::u16string alert;  // the one-line text a tap shows; empty when the budget offers none

    bool needsAttention() const { return expense && percentage > 80; }
};

// An occurrence of a scheduled transaction that is due.
struct LoadedScheduled {
    int32_t schedule = 0;  // the Planner item's number
    std::u16string description;
    std::u16string currency;
    dove::Date date = 0;
    dove::Amount amount = 0;
    std::u16string markup;
};

// The percentage of a plan used: actual / planned x 100 truncated toward zero, within the range of
// int; 0 when nothing is planned.
int percentageUsed(dove::Amount actual, dove::Amount planned);

class TodayData {
  public:
    // Opens the finance store, replaces the loaded data with what it holds now and closes the store
    // again. While the option "Scheduled Today Show" is set, the future list is first built up to
    // today (see futureListBuild()) and the due scheduled transactions are then read from it; a failed
    // build leaves them read from what the list held. False, with nothing loaded, when the store cannot
    // be opened.
    bool reload();
    // Scheduled data may have changed since the future list was last built (flag 0 of the notification
    // block): the next build empties the list and fills it anew. The first build of this object, and
    // any after a failed one, does so too.
    void scheduledDataChanged() { m_futureListStale = true; }
    // The outcome of the last load's build of the future list; nullopt when that load built none (the
    // option is not set, or the store could not be opened).
    std::optional<dove::FutureListStatus> futureListBuild() const { return m_futureListBuild; }
    // Opens the store for the details: reads the shown accounts' balances as of today, makes their
    // entry texts again with them and closes the store. False, with the accounts as they were, when
    // the store cannot be opened.
    bool loadBalancesAsOfToday();
    // Drops what was loaded.
    void clear();

    const std::vector<LoadedAccount>& accounts() const { return m_accounts; }
    const std::vector<LoadedGroup>& groups() const { return m_groups; }
    const std::vector<LoadedBudget>& budgets() const { return m_budgets; }
    const std::vector<LoadedScheduled>& scheduled() const { return m_scheduled; }

    int accountsNeedingAttention() const;
    int budgetsNeedingAttention() const;
    // Anything the summary reports on: an account, a budget or a due scheduled transaction.
    bool anythingLoaded() const { return !m_accounts.empty() || !m_budgets.empty() || !m_scheduled.empty(); }
    // Anything the details would list.
    bool anythingToShow() const { return anythingLoaded() || !m_groups.empty(); }
    // Loads so far, counting the ones that failed.
    int loadCount() const { return m_loads; }

  private:
    void load(dove::Date today);
    dove::FutureListStatus buildFutureList(dove::Date today);

    std::vector<LoadedAccount> m_accounts;
    std::vector<LoadedGroup> m_groups;
    std::vector<LoadedBudget> m_budgets;
    std::vector<LoadedScheduled> m_scheduled;
    int m_loads = 0;
    std::optional<dove::FutureListStatus> m_futureListBuild;
    bool m_futureListStale = true;
    uint32_t m_builtAtCounter = 0;  // the process's scheduled-data counter after the last good build
};

}  // namespace today
