// The invariants of a finance store: running balances, account balances and investment holdings as the
// balance recalculation computes them, identifiers matching account, date and kind and unique, transfer links
// symmetric with consistent (converted) amounts, split owners whose amount is their lines' sum,
// entered-currency conversions, and the current month's budget line totals. Every sum is made without
// wrapping: one that leaves the range of an amount is a violation of its own.
#pragma once

#include <string>
#include <vector>

#include "StoreSnapshot.h"

namespace financestore {

// Each violation found in the snapshot, one line of text each; empty for a sound store.
std::vector<std::string> checkBalances(const StoreSnapshot& s);
std::vector<std::string> checkHoldings(const StoreSnapshot& s);
std::vector<std::string> checkIdentifiers(const StoreSnapshot& s);
std::vector<std::string> checkTransfers(const StoreSnapshot& s);
// Each split owner's amount is the sum of its lines' amounts.
std::vector<std::string> checkSplits(const StoreSnapshot& s);
// Reads the rate table and the budget lines' categories through the open store.
std::vector<std::string> checkBudgetTotals(const StoreSnapshot& s);

// Every check on the snapshot, their violations in order.
std::vector<std::string> checkStore(const StoreSnapshot& s);

// Runs every check on the open store and prints each violation on its own line to standard output.
// kExitOk when there is none, kExitFailed with violations, kExitUsage when the store cannot be read.
int runCheck();

}  // namespace financestore
