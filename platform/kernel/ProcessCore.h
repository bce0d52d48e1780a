// One started child process as this process sees it: its id, whether it ended and its exit code.
// Shared by the process handle and the thread handle of CreateProcessW.
#pragma once

#include <sys/types.h>

#include <mutex>

#include "platform/wintypes.h"

namespace platform {

class ProcessCore {
  public:
    explicit ProcessCore(pid_t pid);
    // A process still running when its last handle closes is reaped in the background, so it never
    // lingers as a zombie.
    ~ProcessCore();
    ProcessCore(const ProcessCore&) = delete;
    ProcessCore& operator=(const ProcessCore&) = delete;

    pid_t pid() const { return m_pid; }
    // WAIT_OBJECT_0 once the process ended, WAIT_TIMEOUT when it still runs after milliseconds.
    DWORD wait(DWORD milliseconds);
    // STILL_ACTIVE while running, else the exit code.
    DWORD exitCode();
    // Kills the process; its exit code becomes code. False when it had already ended.
    bool terminate(DWORD code);

  private:
    // Collects the exit status without blocking; true once the process ended.
    bool collect();

    pid_t m_pid;
    int m_pidFd;  // readable once the process ended; -1 where the kernel offers none
    std::mutex m_lock;
    bool m_ended = false;
    bool m_terminated = false;
    DWORD m_exitCode = 0;
};

}  // namespace platform
