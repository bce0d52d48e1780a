// The private record heap.
#include "RecordHeap.h"

#include "platform/heap.h"

namespace dove {
namespace {
HANDLE g_heap = nullptr;
}

HANDLE recordHeap() {
    if (g_heap == nullptr) g_heap = HeapCreate(0, 40960, 0);
    return g_heap;
}

void destroyRecordHeap() {
    if (g_heap != nullptr) HeapDestroy(g_heap);
    g_heap = nullptr;
}

}  // namespace dove
