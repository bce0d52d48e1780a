// What the benchmarks share to build their stores: hourly transactions from 2018 on, each with its own
// record key, the accounts that hold them, switching the open store between roots, and the path of a
// program built beside the benchmark.
#pragma once

#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"
#include "TableCursor.h"

namespace bench {

constexpr dove::Date kHour = 3600 * dove::kDateSecond;

// 2018-01-01 00:00, the first benchmark transaction's date.
dove::Date firstDate();

// A distinct record key per account and date, in the registry text form of a GUID.
std::string recordKey(int32_t account, dove::Date date);

// A plain transaction's properties: identifier, account, date, amount, no running balance, dollars,
// category 5, not cleared, the payee's name (none when empty) and the record key.
std::vector<dove::PropertyValue> transactionValues(int32_t account, dove::Date date, dove::Amount amount,
                                                   const std::u16string& payee = std::u16string());

// Accounts 1 to count in dollars named "Account", each also carrying extra (a balance, a flag).
// False when a write failed.
bool addAccounts(int count, const std::vector<dove::PropertyValue>& extra = {});

// Transactions first to first + count - 1, one an hour from firstDate(), in accounts 1 to accounts in
// turn, of -(100 + n % 997) hundredths, paid to payee. Called inside a store transaction; false when a
// write failed.
bool addHourlyTransactions(int accounts, int first, int count,
                           const std::u16string& payee = std::u16string());

// Opens the finance store of root, closing the one open before (nothing when root is already open).
void useStore(const std::string& root);
// Closes the open store; the next useStore opens again.
void closeStore();

// The path of a program built into the same folder as the running benchmark.
std::string programBeside(const std::string& name);

}  // namespace bench
