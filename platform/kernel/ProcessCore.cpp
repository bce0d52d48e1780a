// Waiting for, querying and ending started child processes; pidfd polling where available.
#include "ProcessCore.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <thread>

#include "Waitable.h"
#include "platform/files.h"
#include "platform/sync.h"

namespace platform {
namespace {

constexpr DWORD kSignalExitBase = 128;

int openPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

}  // namespace

ProcessCore::ProcessCore(pid_t pid) : m_pid(pid), m_pidFd(openPidFd(pid)) {}

ProcessCore::~ProcessCore() {
    if (m_pidFd >= 0) ::close(m_pidFd);
    if (!collect()) {
        std::thread([pid = m_pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
}

bool ProcessCore::collect() {
    std::lock_guard guard(m_lock);
    if (m_ended) return true;
    int status = 0;
    const pid_t result = waitpid(m_pid, &status, WNOHANG);
    if (result == 0 || (result < 0 && errno == EINTR)) return false;
    m_ended = true;
    if (m_terminated || result < 0) return true;  // the code is already set, or someone else reaped it
    if (WIFEXITED(status)) {
        m_exitCode = static_cast<DWORD>(WEXITSTATUS(status));
    } else if (WIFSIGNALED(status)) {
        m_exitCode = kSignalExitBase + static_cast<DWORD>(WTERMSIG(status));
    }
    return true;
}

DWORD ProcessCore::wait(DWORD milliseconds) {
    const Deadline deadline(milliseconds);
    if (m_pidFd < 0) return pollUntil(deadline, [this] { return collect(); }) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    for (;;) {
        if (collect()) return WAIT_OBJECT_0;
        if (deadline.passed()) return WAIT_TIMEOUT;
        const DWORD left = deadline.remaining();
        pollfd ready{m_pidFd, POLLIN, 0};
        const int timeout = left == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(left + 1, INT_MAX));
        ::poll(&ready, 1, timeout);
    }
}

DWORD ProcessCore::exitCode() {
    if (!collect()) return STILL_ACTIVE;
    std::lock_guard guard(m_lock);
    return m_exitCode;
}

bool ProcessCore::terminate(DWORD code) {
    if (collect()) return false;
    std::lock_guard guard(m_lock);
    if (m_terminated || ::kill(m_pid, SIGKILL) != 0) return false;
    m_terminated = true;
    m_exitCode = code;
    return true;
}

}  // namespace platform
