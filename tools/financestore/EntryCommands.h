// The commands that change transactions: add one through the full save, delete one with its dependants.
#pragma once

#include "CommandLine.h"

namespace financestore {

// add --account N --amount X [--payee NAME] [--category PATH | --transfer-to N] [--project NAME]
//     [--currency CODE] [--date D] [--cleared]
// Saves one new transaction on the open store and prints its identifier. kExitUsage, with a message on
// standard error and nothing written, for a bad or missing value (no such account, category, project or
// currency, a malformed amount or date); kExitFailed when the save itself failed.
int runAdd(const CommandLine& line);

// delete ID: deletes the transaction with that identifier with its split lines and transfer side.
// kExitFailed when no transaction has the identifier or the delete failed.
int runDelete(const CommandLine& line);

}  // namespace financestore
