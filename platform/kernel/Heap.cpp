// Private heaps: every block carries a header linking it into its heap, so HeapDestroy frees all blocks
// and HeapFree can tell a block of another heap. Also local allocations, Random and the failure hook.
#include "platform/heap.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform {
namespace {

struct Block;

class Heap : public KernelObject {
  public:
    Heap(DWORD maximum) : m_maximum(maximum) {}
    ~Heap() override;

    void* allocate(size_t bytes, bool zero);
    void* reallocate(void* user, size_t bytes, bool zero, bool inPlaceOnly);
    bool release(void* user);
    size_t sizeOf(const void* user);

  private:
    Block* blockOf(const void* user);
    bool withinLimit(size_t more) const { return m_maximum == 0 || m_liveBytes + more <= m_maximum; }

    std::mutex m_lock;
    Block* m_first = nullptr;
    size_t m_liveBytes = 0;
    size_t m_maximum;
};

// Header in front of every block; the user's bytes follow it, aligned as malloc aligns.
struct alignas(std::max_align_t) Block {
    Heap* owner;
    size_t size;
    Block* prev;
    Block* next;
};

std::atomic<unsigned> g_failCountdown{0};

bool allocationMayProceed() {
    unsigned n = g_failCountdown.load();
    while (n != 0) {
        if (g_failCountdown.compare_exchange_weak(n, n - 1)) {
            if (n == 1) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return false;
            }
            return true;
        }
    }
    return true;
}

Heap::~Heap() {
    for (Block* b = m_first; b != nullptr;) {
        Block* next = b->next;
        std::free(b);
        b = next;
    }
}

void* Heap::allocate(size_t bytes, bool zero) {
    if (!allocationMayProceed()) return nullptr;
    std::lock_guard guard(m_lock);
    if (!withinLimit(bytes)) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    auto* b = static_cast<Block*>(zero ? std::calloc(1, sizeof(Block) + bytes)
                                       : std::malloc(sizeof(Block) + bytes));
    if (b == nullptr) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    *b = Block{this, bytes, nullptr, m_first};
    if (m_first != nullptr) m_first->prev = b;
    m_first = b;
    m_liveBytes += bytes;
    return b + 1;
}

Block* Heap::blockOf(const void* user) {
    if (user == nullptr) return nullptr;
    Block* b = const_cast<Block*>(static_cast<const Block*>(user) - 1);
    return b->owner == this ? b : nullptr;
}

void* Heap::reallocate(void* user, size_t bytes, bool zero, bool inPlaceOnly) {
    std::unique_lock guard(m_lock);
    Block* b = blockOf(user);
    if (b == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
    size_t old = b->size;
    if (bytes <= old) {
        b->size = bytes;
        m_liveBytes -= old - bytes;
        return user;
    }
    if (inPlaceOnly) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    guard.unlock();
    if (!allocationMayProceed()) return nullptr;
    guard.lock();
    if (!withinLimit(bytes - old)) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    auto* moved = static_cast<Block*>(std::realloc(b, sizeof(Block) + bytes));
    if (moved == nullptr) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    if (moved->prev != nullptr) moved->prev->next = moved;
    if (moved->next != nullptr) moved->next->prev = moved;
    if (m_first == b) m_first = moved;
    moved->size = bytes;
    m_liveBytes += bytes - old;
    if (zero) std::memset(reinterpret_cast<char*>(moved + 1) + old, 0, bytes - old);
    return moved + 1;
}

bool Heap::release(void* user) {
    std::lock_guard guard(m_lock);
    Block* b = blockOf(user);
    if (b == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), false;
    if (b->prev != nullptr) b->prev->next = b->next;
    if (b->next != nullptr) b->next->prev = b->prev;
    if (m_first == b) m_first = b->next;
    m_liveBytes -= b->size;
    b->owner = nullptr;
    std::free(b);
    return true;
}

size_t Heap::sizeOf(const void* user) {
    std::lock_guard guard(m_lock);
    Block* b = blockOf(user);
    return b != nullptr ? b->size : static_cast<size_t>(-1);
}

Heap& processHeap() {
    static Heap* heap = new Heap(0);  // lives as long as the process
    return *heap;
}

Heap* heapOf(HANDLE handle) {
    if (handle == &processHeap()) return &processHeap();
    return handleAs<Heap>(handle);
}

std::mutex g_randomLock;
uint64_t g_randomState = 0;

}  // namespace

void failNthAllocation(unsigned n) {
    g_failCountdown.store(n);
}

void seedRandom(DWORD seed) {
    std::lock_guard guard(g_randomLock);
    g_randomState = seed | (static_cast<uint64_t>(seed ^ 0x9E3779B9u) << 32) | 1u;
}

}  // namespace platform

using platform::Heap;
using platform::heapOf;

HANDLE HeapCreate(DWORD, DWORD, DWORD maximumSize) {
    return platform::makeHandle(new Heap(maximumSize));
}

BOOL HeapDestroy(HANDLE heap) {
    if (heapOf(heap) == nullptr || heap == &platform::processHeap()) return FALSE;
    return CloseHandle(heap);
}

LPVOID HeapAlloc(HANDLE heap, DWORD flags, size_t bytes) {
    Heap* h = heapOf(heap);
    return h != nullptr ? h->allocate(bytes, (flags & HEAP_ZERO_MEMORY) != 0) : nullptr;
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, size_t bytes) {
    Heap* h = heapOf(heap);
    if (h == nullptr) return nullptr;
    return h->reallocate(block, bytes, (flags & HEAP_ZERO_MEMORY) != 0,
                         (flags & HEAP_REALLOC_IN_PLACE_ONLY) != 0);
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID block) {
    if (block == nullptr) return TRUE;
    Heap* h = heapOf(heap);
    return h != nullptr && h->release(block) ? TRUE : FALSE;
}

size_t HeapSize(HANDLE heap, DWORD, LPCVOID block) {
    Heap* h = heapOf(heap);
    return h != nullptr ? h->sizeOf(block) : static_cast<size_t>(-1);
}

HANDLE GetProcessHeap() {
    return &platform::processHeap();
}

HLOCAL LocalAlloc(UINT flags, size_t bytes) {
    return platform::processHeap().allocate(bytes, (flags & LMEM_ZEROINIT) != 0);
}

HLOCAL LocalReAlloc(HLOCAL block, size_t bytes, UINT flags) {
    return platform::processHeap().reallocate(block, bytes, (flags & LMEM_ZEROINIT) != 0,
                                              (flags & LMEM_MOVEABLE) == 0);
}

HLOCAL LocalFree(HLOCAL block) {
    if (block == nullptr || platform::processHeap().release(block)) return nullptr;
    return block;
}

DWORD Random() {
    std::lock_guard guard(platform::g_randomLock);
    uint64_t& s = platform::g_randomState;
    if (s == 0) s = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) | 1u;
    // xorshift64*: fast, full period, good enough for identifiers' random parts and tests.
    s ^= s >> 12;
    s ^= s << 25;
    s ^= s >> 27;
    return static_cast<DWORD>((s * 0x2545F4914F6CDD1DULL) >> 32);
}
