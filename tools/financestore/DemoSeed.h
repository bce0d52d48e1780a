// Seeding an empty finance store with a realistic year of data for demonstrations and end-to-end tests.
#pragma once

#include <cstdint>

namespace financestore {

inline constexpr uint32_t kDefaultDemoSeed = 20100305;

// On the open store: refuses (kExitUsage, message on standard error) when it already holds accounts,
// transactions, payees or scheduled items. Otherwise writes, in one store transaction, USD as the default
// currency with EUR and RUR and their rate histories, five accounts (one in EUR, one closed, one
// investment account), a category tree, projects, 40 payees with memorized entries (some split), a budget
// with lines, six scheduled items and a year of transactions up to today through the full save. The same
// seed on the same day gives the same store. kExitOk on success; kExitFailed, nothing written, when a
// write failed.
int seedDemo(uint32_t seed);

}  // namespace financestore
