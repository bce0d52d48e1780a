// Reading the options of plan add strictly: the transaction fields through the entry options, and the
// schedule settings (frequency by name or code, first date, count or ongoing, interval, lead days, memo,
// reminder), each checked before anything is written.
#pragma once

#include <optional>
#include <string>

#include "CommandLine.h"
#include "EntryOptions.h"

namespace financestore {

// The longest memo and reminder text accepted, in characters.
inline constexpr size_t kMaxMemoLength = 1000;
// Lead days beyond ten years are a typing mistake.
inline constexpr int32_t kMaxLeadDays = 3650;

struct PlanValues {
    EntryValues entry;  // account, amount, payee, category or transfer, project, currency
    int32_t frequency = 0;
    dove::Date first = 0;
    int32_t occurrences = -1;  // --count, or -1 with --ongoing
    int32_t interval = 0;
    int32_t leadDays = 0;
    std::u16string memo;
    std::u16string reminder;  // empty: no reminder
};

// A frequency by its code ("5") or its name ("Monthly", "twice-a-month": case and the separators
// space, "-" and "_" do not matter); nullopt for anything else.
std::optional<int32_t> parseFrequency(const std::string& text);

// Reads the options of plan add into values; the message of the first bad or missing one, "" when all
// are good.
std::string readPlanOptions(const CommandLine& line, PlanValues& values);

}  // namespace financestore
