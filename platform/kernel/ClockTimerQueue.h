// The pending timers of the platform clock, ordered by due time then scheduling order. Not locked:
// the clock owns one queue and guards it with its own lock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/clock.h"

namespace platform {

class ClockTimerQueue {
  public:
    struct Timer {
        ClockTimerId id = 0;
        int64_t due = 0;
        std::function<void()> callback;
    };

    // Adds a timer due at the 64-bit tick due; ids grow from 1 and are never reused.
    ClockTimerId add(int64_t due, std::function<void()> callback);
    bool remove(ClockTimerId id);
    std::optional<int64_t> earliestDue() const;
    // Removes and returns the earliest timer due at or before limit whose id is below idLimit.
    std::optional<Timer> popDue(int64_t limit, ClockTimerId idLimit);
    // Moves every due time by delta (the clock's tick origin changed).
    void shift(int64_t delta);
    // The id the next added timer gets.
    ClockTimerId nextId() const { return m_nextId; }

  private:
    using Key = std::pair<int64_t, ClockTimerId>;
    std::map<Key, std::function<void()>> m_byDue;
    std::unordered_map<ClockTimerId, int64_t> m_dueOf;
    ClockTimerId m_nextId = 1;
};

}  // namespace platform
