// The commands that change transactions: add or edit one through the full save, delete one with its
// dependants.
#pragma once

#include "CommandLine.h"

namespace financestore {

// add --account N (--amount X | --split LINE...) [--payee NAME] [--category PATH | --transfer-to N]
//     [--project NAME] [--currency CODE] [--date D] [--cleared]
// Saves one new transaction on the open store and prints its identifier; with --split lines
// (CATEGORY=AMOUNT, or @ACCOUNT=AMOUNT for a transfer line) a split owner whose amount is their sum.
// kExitUsage, with a one-line message on standard error and nothing written, for a bad or missing value
// (no such account, category, project or currency, a malformed amount or date, an empty or over-long
// name, an --amount that disagrees with the lines); kExitFailed when the save itself failed (the store is
// read-only, a balance or total would leave the range of an amount, ...), kExitBusy when another
// program kept the store locked.
int runAdd(const CommandLine& line);

// edit ID [--amount X] [--date D] [--account N] [--payee NAME] [--category PATH | --transfer-to N]
//      [--project NAME] [--cleared | --uncleared] [--split LINE...]
// Changes the transaction through the same save and prints its identifier (new when its account or day
// changed). --split replaces the split lines; a given line equal in category and amount to a stored line
// keeps that line. Split lines and the other sides of split lines are edited through their owner.
// kExitFailed when no transaction has the identifier or the save failed; kExitUsage as for add.
int runEdit(const CommandLine& line);

// delete ID: deletes the transaction with that identifier with its split lines and transfer side.
// kExitFailed when no transaction has the identifier or the delete failed, kExitBusy as for add;
// kExitUsage, with nothing deleted, for a split line (it goes with its owner, or through edit).
int runDelete(const CommandLine& line);

}  // namespace financestore
