// The finance store as a plain-text journal that ledger and hledger read: one transaction per record
// (a transfer with its other side, a split owner with its lines), the running balances as balance
// assertions, foreign amounts with their commodity and cost, excluded records in an account tree of
// their own.
#pragma once

#include <cstdint>
#include <cstdio>

#include "CommandLine.h"
#include "StoreSnapshot.h"

namespace financestore {

// Writes the journal of the snapshot's transactions; onlyAccount != 0 keeps the transactions that touch
// that account and states the opening balance and running balances of that account only.
void writeLedgerJournal(const StoreSnapshot& snapshot, int32_t onlyAccount, std::FILE* out);

// export --ledger [--account N]: the open store's journal on standard output. kExitUsage for bad usage,
// an unknown account or an unreadable store.
int runExport(const CommandLine& line);

}  // namespace financestore
