// Kernel objects that WaitForSingleObject can wait on, and the deadline arithmetic of timed waits.
#pragma once

#include <chrono>
#include <functional>

#include "platform/handles.h"

namespace platform {

class Waitable : public KernelObject {
  public:
    // Waits as WaitForSingleObject documents; returns one of the WAIT_ codes.
    virtual DWORD wait(DWORD milliseconds) = 0;
};

// The end of a wait of some milliseconds (INFINITE: never).
class Deadline {
  public:
    explicit Deadline(DWORD milliseconds);
    bool infinite() const { return m_infinite; }
    bool passed() const;
    // Milliseconds left, at least 0; INFINITE for an infinite deadline.
    DWORD remaining() const;
    std::chrono::steady_clock::time_point at() const { return m_at; }

  private:
    bool m_infinite;
    std::chrono::steady_clock::time_point m_at;
};

// Calls attempt until it returns true or the deadline passes, sleeping a little longer between
// tries (1 to 10 ms); true when an attempt succeeded. For contention with other processes, which
// offers nothing to block on with a timeout.
bool pollUntil(const Deadline& deadline, const std::function<bool()>& attempt);

}  // namespace platform
