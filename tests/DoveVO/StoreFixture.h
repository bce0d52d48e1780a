// The test fixture of the finance store: a fresh device root, the virtual clock standing on 5 March 2010
// 14:08:09.045, the program's string resources, an open store, recorded store alerts, and helpers that
// seed accounts, currencies, rates and transactions and dump every table.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FinanceStore.h"
#include "Projects.h"
#include "StoreAlert.h"
#include "StoreStatus.h"
#include "TempRoot.h"
#include "TransactionRecord.h"

namespace dove {

// Statuses print by name in test failures.
inline void PrintTo(StoreStatus status, std::ostream* out) {
    *out << statusName(status);
}

}  // namespace dove

namespace dove::testing {

// 5 March 2010 (a Friday) at the given time.
Date march(int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0);
Date dateOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0);

struct AccountSeed {
    int32_t number;
    std::u16string currency = u"USD";
    Amount start = 0;    // 161
    Amount opening = 0;  // 164
    int32_t type = 0;    // 173
};

// The account's currency code as stored.
std::u16string accountCurrencyForTest(int32_t account);

// The balance pass over the account from offset, expected to succeed.
Amount recalculated(int32_t account, int offset = 0);
// Master records made through the data code, expected to succeed; their numbers (0 on failure).
int32_t madeCategory(int32_t parent, const std::u16string& name, int32_t type);
int32_t madeCategoryPath(const std::u16string& fullName, int32_t type);
int32_t madeProject(int32_t parent, const std::u16string& name);

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void addAccount(const AccountSeed& seed);
    void addCurrency(uint32_t id, const std::u16string& code, const std::u16string& symbol,
                     int32_t storedDecimals = 0);
    void addRate(const std::u16string& first, const std::u16string& second, Date date,
                 const std::u16string& rate);
    void setDefaultCurrency(const std::u16string& code);
    // Saves a new plain transaction and returns it (saved, with its identifier).
    TransactionRecord pay(int32_t account, Amount amount, Date date, int32_t category = 0,
                          int32_t project = 0);
    TransactionRecord transfer(int32_t from, int32_t to, Amount amount, Date date);

    // Every record of every table as text, in a stable order (for before/after comparisons).
    static std::string dumpStore();
    // Every Transactions record as (identifier, account, amount, running balance, category, link).
    struct Row {
        std::u16string id;
        int32_t account;
        Amount amount;
        Amount balance;
        int32_t category;
        std::u16string link;
        int32_t kind;
        std::u16string currency;
    };
    static std::vector<Row> transactionRows();
    static Amount storedAccountBalance(int32_t account);

    platform::testing::TempRoot m_root;
    std::vector<StoreAlert> m_alerts;
};

}  // namespace dove::testing
