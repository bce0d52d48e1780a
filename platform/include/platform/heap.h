// Private heaps (HeapCreate and friends), local allocations and the platform's Random, with a test hook
// that makes the n-th allocation fail so every out-of-memory path can be exercised.
#pragma once

#include "platform/wintypes.h"

#define HEAP_NO_SERIALIZE 0x00000001u
#define HEAP_GENERATE_EXCEPTIONS 0x00000004u
#define HEAP_ZERO_MEMORY 0x00000008u
#define HEAP_REALLOC_IN_PLACE_ONLY 0x00000010u

#define LMEM_FIXED 0x0000u
#define LMEM_MOVEABLE 0x0002u
#define LMEM_ZEROINIT 0x0040u
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Creates a growable private heap. maximumSize 0 means no limit; otherwise allocations that would take
// the heap's live bytes beyond it fail. Returns NULL on failure.
HANDLE HeapCreate(DWORD options, DWORD initialSize, DWORD maximumSize);
// Frees every block of the heap and the heap itself. FALSE for an unknown heap.
BOOL HeapDestroy(HANDLE heap);
// A block of at least bytes bytes (zeroed with HEAP_ZERO_MEMORY), or NULL with ERROR_NOT_ENOUGH_MEMORY.
LPVOID HeapAlloc(HANDLE heap, DWORD flags, size_t bytes);
// Resizes a block of this heap, keeping its contents; new bytes are zeroed with HEAP_ZERO_MEMORY. NULL on
// failure, the old block then stays valid. HEAP_REALLOC_IN_PLACE_ONLY fails rather than move a block.
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, size_t bytes);
// Frees a block of this heap. FALSE (ERROR_INVALID_PARAMETER) for a block of another heap; NULL is a no-op.
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
// The usable size of a block, or (size_t)-1 for a block of another heap.
size_t HeapSize(HANDLE heap, DWORD flags, LPCVOID block);
HANDLE GetProcessHeap();

HLOCAL LocalAlloc(UINT flags, size_t bytes);
HLOCAL LocalReAlloc(HLOCAL block, size_t bytes, UINT flags);
HLOCAL LocalFree(HLOCAL block);

// A pseudo-random 32-bit number.
DWORD Random();

namespace platform {

// Makes the n-th heap or local allocation from now fail (1 = the next one); 0 turns the hook off.
// Reallocations that grow a block count as allocations.
void failNthAllocation(unsigned n);
// Seeds Random for repeatable tests.
void seedRandom(DWORD seed);

}  // namespace platform
