// The platform clock: tick count, local and UTC wall-clock time, the file-time scale, Sleep, and the
// process-wide timer queue that window timers sit on. Programs run on the real clock; tests switch
// to a virtual clock that only moves when advanced.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/wintypes.h"

// Milliseconds since the clock started; wraps around after 2^32 ms, so compare ticks by unsigned
// difference only.
DWORD GetTickCount();
// Current local wall-clock time, with the day of week filled in.
void GetLocalTime(LPSYSTEMTIME time);
// Current UTC time, with the day of week filled in.
void GetSystemTime(LPSYSTEMTIME time);
// Current UTC time on the file-time scale.
void GetSystemTimeAsFileTime(LPFILETIME fileTime);

// Calendar fields -> 100-ns units since 1601-01-01 00:00 (proleptic Gregorian, no time-zone step).
// The day of week is ignored. FALSE with ERROR_INVALID_PARAMETER when a field is out of range
// (year 1601..30827, month 1..12, day within the month, hour < 24, minute < 60, second < 60,
// milliseconds < 1000) or an argument is NULL; the output is then untouched.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
// The inverse split, day of week computed (0 = Sunday). FALSE with ERROR_INVALID_PARAMETER when the
// value lies beyond 30827-12-31 23:59:59.999 or an argument is NULL.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
// -1, 0 or 1 as the first time is earlier than, equal to or later than the second.
LONG CompareFileTime(const FILETIME* first, const FILETIME* second);

// Waits the given milliseconds. On the virtual clock the clock advances at once (firing due timers
// on the calling thread) and nothing waits.
void Sleep(DWORD milliseconds);

namespace platform {

// Switches the process to the virtual clock: local time starts at localStart (which must be a valid
// calendar time; an invalid one is taken as 2000-01-01 00:00), UTC is local time minus
// utcOffsetMinutes, and GetTickCount starts at startTick. Pending timers keep their remaining delay.
void useVirtualClock(const SYSTEMTIME& localStart, LONG utcOffsetMinutes = 0, DWORD startTick = 0);
// Returns to the real clock (monotonic ticks, the system's wall clock). Pending timers keep their
// remaining delay.
void useRealClock();
bool isVirtualClock();
// Virtual clock only: moves the clock forward by milliseconds. Every timer that falls due on the
// way fires in due order (ties in scheduling order), on the calling thread, while the clock reads
// that timer's due tick; timers scheduled by a callback fire too when they fall due before the end.
// A timer that keeps rescheduling itself with no delay would keep this from ending, so callers give
// repeating timers a period of at least 1 ms. On the real clock this does nothing.
void advanceClock(DWORD milliseconds);

using ClockTimerId = uint64_t;
// Schedules callback for the tick dueTick, read relative to the current tick: a due tick up to 2^31
// ms in the past counts as overdue and fires at the next run. Returns a nonzero id, unique for the
// life of the process. Thread-safe; callbacks run without the clock's lock held, so they may
// schedule and cancel timers.
ClockTimerId scheduleTimer(DWORD dueTick, std::function<void()> callback);
// Removes a pending timer; false when it already fired, was cancelled or never existed.
bool cancelTimer(ClockTimerId id);
// Due tick of the earliest pending timer, if any.
std::optional<DWORD> nextTimerDue();
// Fires, on the calling thread, every timer that was pending when the call began and is due at the
// current tick (in due order, ties in scheduling order); timers a callback schedules wait for the
// next run. Returns how many fired.
size_t runDueTimers();

}  // namespace platform
