// Reading the options of add and edit strictly: every value is checked (accounts, amounts, dates,
// names, split lines) before anything is written, and a bad one gives a one-line message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Amount.h"
#include "CommandLine.h"
#include "DateTime.h"

namespace financestore {

// The longest payee, category or project name accepted, in characters.
inline constexpr size_t kMaxNameLength = 255;

// One --split line: a category (negative: a transfer to that account) and its amount.
struct SplitEntry {
    int32_t category = 0;
    dove::Amount amount = 0;
};

// What the options give; each field is empty when its option was not given.
struct EntryValues {
    std::optional<int32_t> account;
    std::optional<dove::Amount> amount;
    std::optional<dove::Date> date;
    std::optional<std::u16string> payee;
    std::optional<int32_t> category;  // --category or --transfer-to (negative)
    std::optional<int32_t> project;
    std::optional<int32_t> cleared;  // --cleared 1, --uncleared 0
    std::u16string currency;         // --currency (add only)
    std::vector<SplitEntry> splits;  // --split, in order
};

// Reads the options into values; the message of the first bad one, "" when all are good. account is
// the transaction's account when --account is not given (for edit), 0 when unknown.
std::string readEntryOptions(const CommandLine& line, int32_t account, EntryValues& values);

// The sum of the split lines; nullopt when it leaves the range of amounts.
std::optional<dove::Amount> splitTotal(const std::vector<SplitEntry>& splits);

}  // namespace financestore
