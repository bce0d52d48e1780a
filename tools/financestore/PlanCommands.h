// The commands for scheduled data: adding, listing, entering and deleting scheduled items, and building
// and printing the future list.
#pragma once

#include "CommandLine.h"

namespace financestore {

// plan add --account N --amount X --frequency F --first DATE (--count N | --ongoing) [--payee NAME]
//          [--category PATH | --transfer-to N] [--project NAME] [--currency CODE] [--interval DAYS]
//          [--lead-days N] [--memo TEXT] [--reminder TEXT]
//   saves a scheduled item and prints its schedule number; --reminder also links a marked reminder.
// plan list
//   one line per item: number, frequency, next date (or "finished"), entered count, amount and
//   currency, account, payee, memo as written, then lead days and reminder when set.
// plan enter N [--amount X] [--date D]
//   enters the item's next occurrence as a transaction of its account (X in the item's currency; the
//   rest due when not given, in full), prints its identifier, and says on standard error what remains.
// plan delete N
//   deletes the item (its entered transactions stay, no longer tied to it; a marked reminder goes).
// kExitUsage with a one-line message for bad usage or values; kExitFailed for an unknown or finished
// item or a failed write (nothing written).
int runPlan(const CommandLine& line);

// future --until DATE [--force]
//   builds the future list up to DATE into the Scheduled table and prints each entry on one line of
//   tab-separated fields: date, schedule number, account, amount due, currency, the item's amount when a
//   part was paid (else empty), payee, expanded memo.
int runFuture(const CommandLine& line);

}  // namespace financestore
