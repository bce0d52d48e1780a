// Loading the item's data from the finance store.
#include "TodayData.h"

#include "Accounts.h"
#include "FinanceStore.h"

namespace today {

bool TodayData::reload() {
    ++m_loads;
    clear();
    const bool opened = dove::openFinanceStore();
    // Nothing is loaded, so the item shows its texts for an empty selection; why goes to the error log.
    if (!opened) dove::logFinanceStoreOpenFailure();
    if (opened) loadAccounts();
    dove::closeFinanceStore();
    return opened;
}

void TodayData::clear() {
    m_accounts.clear();
}

void TodayData::loadAccounts() {
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    if (!accounts.ensureSort(dove::account::kPosition, dove::SortKind::I4)) return;
    for (bool more = accounts.moveTo(0); more; more = accounts.moveNext()) {
        LoadedAccount account;
        account.id = accounts.getI4(dove::account::kNumber);
        account.name = accounts.getString(dove::account::kName);
        account.currency = accounts.getString(dove::account::kCurrency);
        account.balance = accounts.get64(dove::account::kBalance);
        m_accounts.push_back(std::move(account));
    }
}

}  // namespace today
