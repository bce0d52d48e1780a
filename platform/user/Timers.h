// Window and thread timers on the platform clock: each due timer posts one WM_TIMER to its
// thread's queue, never a second while the first is still queued.
#pragma once

#include <optional>

#include "platform/winuser.h"

namespace platform::user {

// Forgets every timer of the window and removes their queued WM_TIMER messages.
void killWindowTimers(HWND window);
// Forgets the thread timers (those without a window) of the thread.
void killThreadTimers(DWORD thread);
// A WM_TIMER left the queue: the timer may post again.
void timerDelivered(HWND window, UINT_PTR id);
// The due tick of the thread's earliest timer, if it has any.
std::optional<DWORD> nextTimerDueFor(DWORD thread);
// True when lParam of a WM_TIMER for (window, id) names that timer's procedure.
bool isTimerProc(HWND window, UINT_PTR id, LPARAM proc);

}  // namespace platform::user
