// SetTimer and KillTimer on the platform clock's timer queue. A due timer posts WM_TIMER (lParam:
// its procedure) to the owner thread's queue unless one is already queued, then schedules its next
// due tick; KillTimer cancels it and removes its queued message.

#include "Timers.h"

#include <map>
#include <mutex>

#include "MessageQueue.h"
#include "WindowManager.h"
#include "platform/clock.h"
#include "platform/handles.h"

namespace platform::user {

namespace {

struct Timer {
    UINT period = 1;
    TIMERPROC proc = nullptr;
    DWORD thread = 0;
    ClockTimerId clockId = 0;
    DWORD due = 0;
    uint64_t generation = 0;
    bool queued = false;
};

using TimerKey = std::pair<HWND, UINT_PTR>;

struct Timers {
    std::mutex mutex;
    std::map<TimerKey, Timer> timers;
    uint64_t nextGeneration = 1;
    UINT_PTR nextThreadTimer = 0x7FFF;
};

Timers& timers() {
    static auto* all = new Timers();
    return *all;
}

void schedule(const TimerKey& key, Timer& timer);

// Runs on whichever thread advances the clock: posts the message and schedules the next period.
void fire(TimerKey key, uint64_t generation) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    auto it = t.timers.find(key);
    if (it == t.timers.end() || it->second.generation != generation) return;
    Timer& timer = it->second;
    if (!timer.queued) {
        auto queue = queueOf(timer.thread);
        MSG msg{key.first,      WM_TIMER, key.second, reinterpret_cast<LPARAM>(timer.proc),
                GetTickCount(), {0, 0}};
        if (queue && queue->post(msg)) timer.queued = true;
    }
    schedule(key, timer);
}

void schedule(const TimerKey& key, Timer& timer) {
    uint64_t generation = timer.generation;
    timer.due = GetTickCount() + timer.period;
    timer.clockId = scheduleTimer(timer.due, [key, generation] { fire(key, generation); });
}

void removeQueued(DWORD thread, HWND window, UINT_PTR id) {
    if (auto queue = queueOf(thread))
        queue->removeIf(
            [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == window && m.wParam == id; });
}

}  // namespace

void killWindowTimers(HWND window) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    for (auto it = t.timers.begin(); it != t.timers.end();) {
        if (it->first.first != window) {
            ++it;
            continue;
        }
        cancelTimer(it->second.clockId);
        removeQueued(it->second.thread, window, it->first.second);
        it = t.timers.erase(it);
    }
}

void killThreadTimers(DWORD thread) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    for (auto it = t.timers.begin(); it != t.timers.end();) {
        if (it->first.first || it->second.thread != thread) {
            ++it;
            continue;
        }
        cancelTimer(it->second.clockId);
        it = t.timers.erase(it);
    }
}

void timerDelivered(HWND window, UINT_PTR id) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    auto it = t.timers.find({window, id});
    if (it != t.timers.end()) it->second.queued = false;
}

std::optional<DWORD> nextTimerDueFor(DWORD thread) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    DWORD now = GetTickCount();
    std::optional<DWORD> earliest;
    for (const auto& [key, timer] : t.timers) {
        if (timer.thread != thread) continue;
        if (!earliest || static_cast<int32_t>(timer.due - now) < static_cast<int32_t>(*earliest - now))
            earliest = timer.due;
    }
    return earliest;
}

bool isTimerProc(HWND window, UINT_PTR id, LPARAM proc) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    auto it = t.timers.find({window, id});
    return it != t.timers.end() && reinterpret_cast<LPARAM>(it->second.proc) == proc;
}

}  // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    DWORD thread = currentThread();
    if (window) {
        Lock lock = lockState();
        Window* w = find(window);
        if (!w || w->destroying) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        thread = w->thread;
    }
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    if (!window) {
        do {
            id = ++t.nextThreadTimer;
        } while (id == 0 || t.timers.count({nullptr, id}));
    }
    TimerKey key{window, id};
    auto existing = t.timers.find(key);
    if (existing != t.timers.end()) {
        platform::cancelTimer(existing->second.clockId);
        removeQueued(existing->second.thread, window, id);
    }
    Timer& timer = t.timers[key];
    timer = Timer{std::max<UINT>(elapse, 1), timerProc, thread, 0, 0, t.nextGeneration++, false};
    schedule(key, timer);
    return id ? id : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& t = timers();
    std::lock_guard lock(t.mutex);
    auto it = t.timers.find({window, id});
    if (it == t.timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::cancelTimer(it->second.clockId);
    removeQueued(it->second.thread, window, id);
    t.timers.erase(it);
    return TRUE;
}
