// Moving a scheduled item on once occurrences of it were entered as transactions: counting the
// occurrences paid in full, finishing or deleting the item at its last one.
#pragma once

#include <cstdint>

#include "StoreStatus.h"

namespace dove {

// Called after transactions were entered from the next occurrence of item scheduleNumber. Walks the
// item's entered transactions in occurrence-key order from the key of its next date: each occurrence
// whose payments end with one that leaves nothing unpaid (106 = 0) counts; partial payments (106 = 1)
// alone do not, and the walk stops at the first occurrence not paid in full. When occurrences were
// counted the item's entered count (254) and next date (253) move on, with its modification flag and
// stamp; when the count reaches the item's number of entries, an item of one entry is deleted (as the
// user's delete of a scheduled item does) and any other is marked finished (259 = 1). The scheduled-data
// change signal is raised. Leaves the Transactions and Planner sort orders as it found them.
// Ok also when the item is finished (nothing changes); RecordMissing when no item has the number; else
// the status of the write that failed. Writes inside the caller's store transaction when one is open.
StoreStatus advancePlannerItem(uint32_t scheduleNumber);

}  // namespace dove
