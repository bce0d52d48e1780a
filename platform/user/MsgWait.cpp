// MsgWaitForMultipleObjects: waits for kernel objects or for input in the calling thread's queue.
// Objects are polled between short waits on the queue, since they live outside the window manager.

#include <chrono>

#include "MessageQueue.h"
#include "platform/handles.h"
#include "platform/sync.h"

using namespace platform::user;

namespace {

// How often the kernel objects are looked at again while the queue stays quiet.
constexpr auto kPollSlice = std::chrono::milliseconds(5);

}  // namespace

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
    if (count > 0 && !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    auto queue = currentQueue();
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        uint64_t seen = queue->generation();
        handleSentMessages();
        DWORD signalled = 0;
        for (DWORD i = 0; i < count; ++i) {
            DWORD result = WaitForSingleObject(handles[i], 0);
            if (result == WAIT_FAILED) return WAIT_FAILED;
            if (result == WAIT_TIMEOUT) continue;
            if (!waitAll) return WAIT_OBJECT_0 + i;
            ++signalled;
        }
        if (waitAll && count > 0 && signalled == count) return WAIT_OBJECT_0;
        if (HIWORD(GetQueueStatus(wakeMask)) != 0) return WAIT_OBJECT_0 + count;
        auto now = std::chrono::steady_clock::now();
        if (milliseconds != INFINITE && now - start >= std::chrono::milliseconds(milliseconds))
            return WAIT_TIMEOUT;
        auto until = now + kPollSlice;
        if (milliseconds != INFINITE)
            until = std::min(until, start + std::chrono::milliseconds(milliseconds));
        if (count == 0 && milliseconds == INFINITE)
            queue->wait(seen, false, {});
        else
            queue->wait(seen, true, until);
    }
}
