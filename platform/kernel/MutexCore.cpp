// Mutex ownership within the process (threads, recursion) and across processes (an exclusive lock
// on the mutex's ownership file, whose first byte marks an owner that ended without releasing).
#include "MutexCore.h"

#include <pthread.h>
#include <unistd.h>

#include <map>

#include "NamedObjects.h"
#include "Waitable.h"
#include "platform/device.h"
#include "platform/sync.h"

namespace platform {
namespace {

using Registry = NamedObjects<MutexCore>;
Registry& registry() {
    return namedObjects<MutexCore>();
}

}  // namespace

MutexCore::MutexCore(std::unique_ptr<RunLockFile> hold, std::unique_ptr<RunLockFile> own)
    : m_hold(std::move(hold)), m_own(std::move(own)) {}

DWORD MutexCore::acquire(DWORD milliseconds) {
    const auto self = std::this_thread::get_id();
    const Deadline deadline(milliseconds);
    std::unique_lock guard(m_lock);
    if (m_owner == self) {
        ++m_count;
        return WAIT_OBJECT_0;
    }
    auto free = [this] { return m_owner == std::thread::id(); };
    if (deadline.infinite()) {
        m_released.wait(guard, free);
    } else if (!m_released.wait_until(guard, deadline.at(), free)) {
        return WAIT_TIMEOUT;
    }
    m_owner = self;  // claimed inside the process; other processes are excluded next
    guard.unlock();
    const bool taken = takeProcessLock(deadline.remaining());
    const bool abandoned = taken && markOwned();
    guard.lock();
    if (!taken) {
        m_owner = std::thread::id();
        m_released.notify_one();
        return WAIT_TIMEOUT;
    }
    m_count = 1;
    return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

bool MutexCore::release() {
    std::lock_guard guard(m_lock);
    if (m_owner != std::this_thread::get_id() || m_count == 0) return false;
    if (--m_count > 0) return true;
    if (m_own) {
        const char clear = 0;
        (void)!::pwrite(m_own->fd(), &clear, 1, 0);
        m_own->unlock();
    }
    m_owner = std::thread::id();
    m_released.notify_one();
    return true;
}

bool MutexCore::takeProcessLock(DWORD milliseconds) {
    if (!m_own) return true;
    if (milliseconds == INFINITE) return m_own->lockExclusive();
    return pollUntil(Deadline(milliseconds), [this] { return m_own->tryLockExclusive(); });
}

bool MutexCore::markOwned() {
    if (!m_own) return false;
    char mark = 0;
    const bool abandoned = ::pread(m_own->fd(), &mark, 1, 0) == 1 && mark != 0;
    const char owned = 1;
    (void)!::pwrite(m_own->fd(), &owned, 1, 0);
    return abandoned;
}

std::shared_ptr<MutexCore> joinNamedMutex(const std::string& key, bool& existed) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const std::string folder = runFolder();
    std::weak_ptr<MutexCore>& entry = r.byKey[folder + "/" + key];
    if (auto core = entry.lock()) {
        existed = true;
        return core;
    }
    RunGate gate(folder, "mutex-" + key + ".gate");
    auto hold = std::make_unique<RunLockFile>(folder, "mutex-" + key + ".hold");
    auto own = std::make_unique<RunLockFile>(folder, "mutex-" + key + ".own");
    if (!gate.locked() || !hold->valid() || !own->valid()) return nullptr;
    existed = !hold->tryLockExclusive();
    if (!hold->lockShared()) return nullptr;
    auto core = std::make_shared<MutexCore>(std::move(hold), std::move(own));
    entry = core;
    return core;
}

}  // namespace platform
