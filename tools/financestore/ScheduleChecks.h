// The invariants of scheduled data: each item's count of entered occurrences is the number of its
// occurrences paid in full, and every transaction that names a scheduled item names one that exists.
#pragma once

#include <string>
#include <vector>

#include "StoreSnapshot.h"

namespace financestore {

// Reads the scheduled items and their payments through the open store; one line per violation.
std::vector<std::string> checkSchedules(const StoreSnapshot& s);

}  // namespace financestore
