// The private record heap: one process-wide growable heap for the store's read buffers, so the many small
// allocations of record reads do not fragment the process heap.
#pragma once

#include "platform/wintypes.h"

namespace dove {

// The heap, created on first use with 40,960 bytes and no maximum.
HANDLE recordHeap();
// Frees the heap and everything on it (at exit).
void destroyRecordHeap();

}  // namespace dove
