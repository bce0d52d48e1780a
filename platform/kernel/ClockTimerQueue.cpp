// The clock's pending timers: ordered insertion, cancellation and extraction of due timers.
#include "ClockTimerQueue.h"

namespace platform {

ClockTimerId ClockTimerQueue::add(int64_t due, std::function<void()> callback) {
    const ClockTimerId id = m_nextId++;
    m_byDue.emplace(Key{due, id}, std::move(callback));
    m_dueOf.emplace(id, due);
    return id;
}

bool ClockTimerQueue::remove(ClockTimerId id) {
    auto it = m_dueOf.find(id);
    if (it == m_dueOf.end()) return false;
    m_byDue.erase(Key{it->second, id});
    m_dueOf.erase(it);
    return true;
}

std::optional<int64_t> ClockTimerQueue::earliestDue() const {
    if (m_byDue.empty()) return std::nullopt;
    return m_byDue.begin()->first.first;
}

std::optional<ClockTimerQueue::Timer> ClockTimerQueue::popDue(int64_t limit, ClockTimerId idLimit) {
    for (auto it = m_byDue.begin(); it != m_byDue.end() && it->first.first <= limit; ++it) {
        if (it->first.second >= idLimit) continue;
        Timer timer{it->first.second, it->first.first, std::move(it->second)};
        m_byDue.erase(it);
        m_dueOf.erase(timer.id);
        return timer;
    }
    return std::nullopt;
}

void ClockTimerQueue::shift(int64_t delta) {
    std::map<Key, std::function<void()>> moved;
    for (auto& [key, callback] : m_byDue) {
        moved.emplace(Key{key.first + delta, key.second}, std::move(callback));
        m_dueOf[key.second] = key.first + delta;
    }
    m_byDue = std::move(moved);
}

}  // namespace platform
