// Reading the values a user gives on the command line: account numbers, amounts in hundredths and dates.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Amount.h"
#include "DateTime.h"

namespace financestore {

// A decimal integer that fits in 32 bits ("7", "-12"); nullopt for anything else.
std::optional<int32_t> parseInteger(const std::string& text);

// A decimal amount with at most two decimals ("12", "-12.3", "12.34", "+5.00") in hundredths; nullopt
// for anything else (letters, three decimals, a value beyond 64 bits).
std::optional<dove::Amount> parseAmount(const std::string& text);

// "YYYY-MM-DD" (midnight) or "YYYY-MM-DDTHH:MM:SS" as a local date; nullopt for a malformed text or a
// date that does not exist (31 April, 25:00).
std::optional<dove::Date> parseDate(const std::string& text);

}  // namespace financestore
