// The process-wide platform clock: real (monotonic ticks, system wall clock) or virtual (moves only
// when advanced), the tick count and wall-clock readings, Sleep, and the timer queue on top of it.
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>

#include "ClockCalendar.h"
#include "ClockTimerQueue.h"
#include "platform/clock.h"

namespace platform {
namespace {

constexpr int64_t kMinutesToUnits = 60 * static_cast<int64_t>(calendar::kUnitsPerSecond);

struct ClockState {
    std::mutex lock;
    bool isVirtual = false;
    int64_t virtualNow = 0;          // virtual tick, 64-bit so it never wraps
    int64_t virtualOrigin = 0;       // virtual tick at which the local start time held
    uint64_t virtualLocalStart = 0;  // local time at virtualOrigin, file-time units
    int64_t utcOffsetUnits = 0;      // local minus UTC
    ClockTimerQueue timers;
};

ClockState& state() {
    static ClockState* instance = new ClockState;  // never destroyed: timers may run during exit
    return *instance;
}

int64_t realNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

int64_t nowLocked(const ClockState& s) {
    return s.isVirtual ? s.virtualNow : realNow();
}

// The 64-bit tick a 32-bit due tick stands for: the nearest one, up to 2^31 ms back or ahead.
int64_t widenTick(int64_t now, DWORD dueTick) {
    const auto delta = static_cast<int32_t>(dueTick - static_cast<DWORD>(now));
    return now + delta;
}

void fillFromUnits(uint64_t units, LPSYSTEMTIME out) {
    if (auto fields = calendar::fieldsFromUnits(units)) *out = *fields;
}

void fillFromTm(const tm& t, long nanoseconds, LPSYSTEMTIME out) {
    out->wYear = static_cast<WORD>(t.tm_year + 1900);
    out->wMonth = static_cast<WORD>(t.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(t.tm_wday);
    out->wDay = static_cast<WORD>(t.tm_mday);
    out->wHour = static_cast<WORD>(t.tm_hour);
    out->wMinute = static_cast<WORD>(t.tm_min);
    out->wSecond = static_cast<WORD>(t.tm_sec > 59 ? 59 : t.tm_sec);  // a leap second reads as :59
    out->wMilliseconds = static_cast<WORD>(nanoseconds / 1'000'000);
}

// Virtual local time in file-time units; the caller holds the lock.
uint64_t virtualLocalUnits(const ClockState& s) {
    return s.virtualLocalStart +
           static_cast<uint64_t>(s.virtualNow - s.virtualOrigin) * calendar::kUnitsPerMillisecond;
}

// Reads the wall clock: local when local is set, else UTC.
void readWallClock(bool local, LPSYSTEMTIME out) {
    if (out == nullptr) return;
    ClockState& s = state();
    {
        std::lock_guard guard(s.lock);
        if (s.isVirtual) {
            const uint64_t units = virtualLocalUnits(s);
            fillFromUnits(local ? units : units - static_cast<uint64_t>(s.utcOffsetUnits), out);
            return;
        }
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t{};
    if (local) {
        localtime_r(&ts.tv_sec, &t);
    } else {
        gmtime_r(&ts.tv_sec, &t);
    }
    fillFromTm(t, ts.tv_nsec, out);
}

// Switches mode under the lock, keeping each pending timer's remaining delay.
template <class Change>
void switchMode(Change change) {
    ClockState& s = state();
    std::lock_guard guard(s.lock);
    const int64_t before = nowLocked(s);
    change(s);
    s.timers.shift(nowLocked(s) - before);
}

void realSleep(DWORD milliseconds) {
    if (milliseconds == INFINITE) {
        for (;;)
            ::pause();
    }
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1'000'000};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace

void useVirtualClock(const SYSTEMTIME& localStart, LONG utcOffsetMinutes, DWORD startTick) {
    SYSTEMTIME fallback{2000, 1, 6, 1, 0, 0, 0, 0};
    const uint64_t start =
        calendar::unitsFromFields(localStart).value_or(*calendar::unitsFromFields(fallback));
    switchMode([&](ClockState& s) {
        s.isVirtual = true;
        s.virtualNow = startTick;
        s.virtualOrigin = startTick;
        s.virtualLocalStart = start;
        s.utcOffsetUnits = static_cast<int64_t>(utcOffsetMinutes) * kMinutesToUnits;
    });
}

void useRealClock() {
    switchMode([](ClockState& s) { s.isVirtual = false; });
}

bool isVirtualClock() {
    std::lock_guard guard(state().lock);
    return state().isVirtual;
}

void advanceClock(DWORD milliseconds) {
    ClockState& s = state();
    std::unique_lock guard(s.lock);
    if (!s.isVirtual) return;
    const int64_t target = s.virtualNow + milliseconds;
    while (auto timer = s.timers.popDue(target, UINT64_MAX)) {
        if (timer->due > s.virtualNow) s.virtualNow = timer->due;
        guard.unlock();
        timer->callback();
        guard.lock();
        if (!s.isVirtual) return;
    }
    if (target > s.virtualNow) s.virtualNow = target;
}

ClockTimerId scheduleTimer(DWORD dueTick, std::function<void()> callback) {
    ClockState& s = state();
    std::lock_guard guard(s.lock);
    return s.timers.add(widenTick(nowLocked(s), dueTick), std::move(callback));
}

bool cancelTimer(ClockTimerId id) {
    std::lock_guard guard(state().lock);
    return state().timers.remove(id);
}

std::optional<DWORD> nextTimerDue() {
    std::lock_guard guard(state().lock);
    auto due = state().timers.earliestDue();
    if (!due) return std::nullopt;
    return static_cast<DWORD>(*due);
}

size_t runDueTimers() {
    ClockState& s = state();
    std::unique_lock guard(s.lock);
    const ClockTimerId idLimit = s.timers.nextId();
    size_t fired = 0;
    while (auto timer = s.timers.popDue(nowLocked(s), idLimit)) {
        guard.unlock();
        timer->callback();
        ++fired;
        guard.lock();
    }
    return fired;
}

}  // namespace platform

DWORD GetTickCount() {
    platform::ClockState& s = platform::state();
    std::lock_guard guard(s.lock);
    return static_cast<DWORD>(platform::nowLocked(s));
}

void GetLocalTime(LPSYSTEMTIME time) {
    platform::readWallClock(true, time);
}

void GetSystemTime(LPSYSTEMTIME time) {
    platform::readWallClock(false, time);
}

void GetSystemTimeAsFileTime(LPFILETIME fileTime) {
    if (fileTime == nullptr) return;
    SYSTEMTIME now{};
    GetSystemTime(&now);
    SystemTimeToFileTime(&now, fileTime);
}

void Sleep(DWORD milliseconds) {
    if (platform::isVirtualClock()) {
        platform::advanceClock(milliseconds);
    } else {
        platform::realSleep(milliseconds);
    }
}
