// Loading the item's data from the finance store, with the details' texts.
#include "TodayData.h"

#include <algorithm>

#include "EntryText.h"
#include "FinanceStore.h"
#include "FutureList.h"
#include "Options.h"
#include "TodayLoad.h"

namespace today {

bool TodayData::reload() {
    ++m_loads;
    clear();
    const bool opened = dove::openFinanceStore();
    // Nothing is loaded, so the item shows its texts for an empty selection; why goes to the error log.
    if (!opened) dove::logFinanceStoreOpenFailure();
    if (opened) load(dove::nowLocal());
    dove::closeFinanceStore();
    return opened;
}

bool TodayData::loadBalancesAsOfToday() {
    const bool opened = dove::openFinanceStore();
    if (opened) {
        today::loadBalancesAsOfToday(m_accounts, dove::nowLocal());
        for (LoadedAccount& account : m_accounts)
            account.markup = accountMarkup(account, storeAmountText);
    }
    dove::closeFinanceStore();
    return opened;
}

void TodayData::clear() {
    m_accounts.clear();
    m_groups.clear();
    m_budgets.clear();
    m_scheduled.clear();
    m_futureListBuild.reset();
}

void TodayData::load(dove::Date today) {
    AccountTotals totals;
    m_accounts = loadShownAccounts(&totals);
    m_groups = loadGroups(totals, today);
    m_budgets = loadBudgets(today);
    if (dove::readOptionNumber(dove::kOptionScheduledTodayShow).value_or(0) != 0) {
        m_futureListBuild = buildFutureList(today);
        m_scheduled = loadDueScheduled(today);
    }
    // The texts use the store's currencies, which go with the store when it closes.
    for (LoadedAccount& account : m_accounts)
        account.markup = accountMarkup(account, storeAmountText);
    for (LoadedGroup& group : m_groups)
        group.markup = groupMarkup(group, storeAmountText);
    for (LoadedBudget& budget : m_budgets) {
        budget.markup = budgetMarkup(budget, storeAmountText);
        budget.alert = budgetAlertMarkup(budget, storeAmountText);
    }
    for (LoadedScheduled& entry : m_scheduled)
        entry.markup = scheduledMarkup(entry, storeAmountText);
}

// A build that is not forced only grows the list to a new day, or does nothing on the day it was built
// for, and so reads no transactions: a reload after an ordinary save costs nothing here. It is forced
// when scheduled data changed since this object's last good build: flag 0 said so, or a write of this
// process (which raises no flag for itself) moved the scheduled-data counter.
dove::FutureListStatus TodayData::buildFutureList(dove::Date today) {
    const bool force = m_futureListStale || dove::scheduledChangeCounter() != m_builtAtCounter;
    const dove::FutureListStatus status = dove::buildFutureList(today, force);
    if (dove::succeeded(status)) {
        m_futureListStale = false;
        m_builtAtCounter = dove::scheduledChangeCounter();
    }
    return status;
}

int TodayData::accountsNeedingAttention() const {
    return static_cast<int>(std::count_if(m_accounts.begin(), m_accounts.end(),
                                          [](const auto& a) { return a.needsAttention(); }));
}

int TodayData::budgetsNeedingAttention() const {
    return static_cast<int>(
        std::count_if(m_budgets.begin(), m_budgets.end(), [](const auto& b) { return b.needsAttention(); }));
}

}  // namespace today
