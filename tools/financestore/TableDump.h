// Printing a finance table as JSON lines: one object per record, property number to typed value.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "Catalogue.h"

namespace financestore {

// The table named by its short name ("Transactions", "BudgetLists", ...) or its database name
// ("Brimwell Account"), compared without regard to case; nullopt when no table has that name.
std::optional<dove::Table> tableByName(const std::string& name);

// A UTF-16 text as a JSON string literal (quotes, backslashes and control characters escaped, UTF-8).
std::string jsonString(const std::u16string& text);

// Writes every record of the open table, in the order the store opened it, one JSON object a line:
// I4 values and 8-byte values as (signed) numbers, strings as JSON strings. Returns the record count,
// or -1 when a record could not be read.
int dumpTable(dove::Table table, std::FILE* out);

}  // namespace financestore
