// An in-memory copy of what the checks read: every transaction in identifier order, every account and
// every budget line, taken through the table cursors of the open finance store.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "Amount.h"
#include "DateTime.h"

namespace financestore {

struct TransactionRow {
    std::u16string id;
    std::u16string link;
    std::u16string currency;
    std::u16string enteredCurrency;
    std::u16string key;
    std::u16string security;   // 139
    std::u16string payeeName;  // 110, else 136
    int32_t units = 0;         // 140
    int32_t cleared = 0;       // 117
    int32_t account = 0;
    int32_t category = 0;
    int32_t kind = 0;
    int32_t excluded = 0;
    int32_t sequence = 0;
    int32_t schedule = 0;
    dove::Date date = 0;
    dove::Amount amount = 0;
    dove::Amount entered = 0;
    dove::Amount balance = 0;
    bool hasBalance = false;
    bool hasRate = false;
    double rate = 0;
};

struct AccountRow {
    int32_t number = 0;
    std::u16string name;
    dove::Amount starting = 0;    // 161 + 164
    bool startingInRange = true;  // false when 161 + 164 leaves the range of an amount
    dove::Amount balance = 0;
    bool hasBalance = false;
    std::u16string currency;
    int32_t type = 0;
    std::u16string securities;  // 174
};

struct BudgetLineRow {
    std::u16string key;
    int32_t budget = 0;
    int32_t category = 0;
    int32_t active = 0;
    dove::Amount total = 0;
};

struct StoreSnapshot {
    std::vector<TransactionRow> transactions;  // identifier order
    std::vector<AccountRow> accounts;          // account number order
    std::vector<BudgetLineRow> budgetLines;
    // Index into transactions of the first record with each identifier.
    std::unordered_map<std::u16string, size_t> byIdentifier;

    const TransactionRow* find(const std::u16string& id) const;
    const AccountRow* account(int32_t number) const;
};

// Reads the snapshot; false when a record could not be read (the store changed or is damaged).
bool readSnapshot(StoreSnapshot& snapshot);

// Two's-complement sum and negation: a damaged record may hold any 64-bit amount, and the check must
// report it rather than overflow.
inline dove::Amount wrappedSum(dove::Amount a, dove::Amount b) {
    return static_cast<dove::Amount>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
inline dove::Amount wrappedNegation(dove::Amount a) {
    return static_cast<dove::Amount>(0 - static_cast<uint64_t>(a));
}

// Hundredths as text with a decimal point: -1234 -> "-12.34".
std::string amountText(dove::Amount amount);

}  // namespace financestore
