// The state of one mutex inside this process, shared by all of the process's handles to it: which
// thread owns it and how often, and for a named mutex the lock files that make it visible to and
// exclusive against other processes.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "FileLocks.h"

namespace platform {

class MutexCore {
  public:
    // An unnamed mutex, private to this process.
    MutexCore() = default;
    // A named mutex; the caller has taken the shared existence lock on hold.
    MutexCore(std::unique_ptr<RunLockFile> hold, std::unique_ptr<RunLockFile> own);

    // Takes (or deepens) the calling thread's ownership; WAIT_OBJECT_0, WAIT_ABANDONED or WAIT_TIMEOUT.
    DWORD acquire(DWORD milliseconds);
    // Gives up one level of ownership; false when the calling thread does not own the mutex.
    bool release();

  private:
    bool takeProcessLock(DWORD milliseconds);
    // Marks the mutex owned in its lock file; true when the previous owner ended while owning it.
    bool markOwned();

    std::mutex m_lock;
    std::condition_variable m_released;
    std::thread::id m_owner;  // set while a thread owns or is taking the mutex
    unsigned m_count = 0;     // ownership depth; 0 while the owner is still taking the process lock
    // Declared so that the ownership lock closes before the existence lock.
    std::unique_ptr<RunLockFile> m_hold;
    std::unique_ptr<RunLockFile> m_own;
};

// The named mutex of this process for key, created or joined; existed tells whether any process
// held it before. Null when its lock files cannot be used.
std::shared_ptr<MutexCore> joinNamedMutex(const std::string& key, bool& existed);

}  // namespace platform
