// WaitForSingleObject over the waitable kernel objects, and timed-wait helpers.
#include "Waitable.h"

#include <thread>

#include "platform/sync.h"
#include "platform/winerror.h"

namespace platform {

Deadline::Deadline(DWORD milliseconds)
    : m_infinite(milliseconds == INFINITE),
      m_at(std::chrono::steady_clock::now() + std::chrono::milliseconds(m_infinite ? 0 : milliseconds)) {}

bool Deadline::passed() const {
    return !m_infinite && std::chrono::steady_clock::now() >= m_at;
}

DWORD Deadline::remaining() const {
    if (m_infinite) return INFINITE;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_at - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
}

bool pollUntil(const Deadline& deadline, const std::function<bool()>& attempt) {
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (attempt()) return true;
        if (deadline.passed()) return false;
        auto nap = pause;
        if (!deadline.infinite()) nap = std::min(nap, std::chrono::milliseconds(deadline.remaining() + 1));
        std::this_thread::sleep_for(nap);
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
}

}  // namespace platform

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto* object = platform::objectOf(handle);
    auto* waitable = dynamic_cast<platform::Waitable*>(object);
    if (waitable == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return waitable->wait(milliseconds);
}
