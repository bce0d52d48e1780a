// The data the Today item shows, loaded from the finance store as a whole: the store is opened for a
// load and closed after it, so that nothing is read while the item paints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Amount.h"

namespace today {

// One account as the item shows it.
struct LoadedAccount {
    int32_t id = 0;
    std::u16string name;
    std::u16string currency;
    dove::Amount balance = 0;  // the account's current balance as the store keeps it
};

class TodayData {
  public:
    // Opens the finance store, replaces the loaded data with the accounts in their display order and
    // closes the store again. False, with nothing loaded, when the store cannot be opened.
    bool reload();
    // Drops what was loaded.
    void clear();

    const std::vector<LoadedAccount>& accounts() const { return m_accounts; }
    bool anythingLoaded() const { return !m_accounts.empty(); }
    // Loads so far, counting the ones that failed.
    int loadCount() const { return m_loads; }

  private:
    void loadAccounts();

    std::vector<LoadedAccount> m_accounts;
    int m_loads = 0;
};

}  // namespace today
