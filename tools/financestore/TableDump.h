// Printing a finance table as JSON lines: one object per record, each property by its name with a
// readable value, or by its number with the value as stored.
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

// Named: each property under its name with a readable value ("amount": "-44.91", "date":
// "2025-12-08T00:00:00", texts as strings), a property the table does not know under its number. Raw:
// every property under its number, I4 and 8-byte values as (signed) numbers, strings as strings.
enum class DumpForm { Named, Raw };

// Writes every record of the open table, in the order the store opened it, one JSON object a line, the
// properties in the table's order of names (unknown ones, and all of the raw form, in number order).
// Returns the record count, or -1 when a record could not be read.
int dumpTable(dove::Table table, DumpForm form, std::FILE* out);

}  // namespace financestore
