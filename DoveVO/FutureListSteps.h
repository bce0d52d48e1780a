// The steps of the future list's build that fill the Scheduled table (internal to the data code).
#pragma once

#include <cstdint>

#include "FutureList.h"

namespace dove::detail {

// Adds an entry to the Scheduled table (open, sorted by date) for every occurrence of every unfinished
// scheduled item that shows on a day after afterDay and on or before endDay (day numbers) and is not
// paid in full. Leaves the Planner and Transactions sort orders as it found them. Built, ReadFailed when
// a Planner record cannot be read, WriteFailed when an entry cannot be written.
FutureListStatus fillFutureList(int64_t endDay, int64_t afterDay);

}  // namespace dove::detail
