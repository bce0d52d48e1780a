// The vibration worker: a thread with its own message loop that plays pulse requests on the
// notification-LED vibration device, so that the user-interface thread never waits for a pulse.
#pragma once

#include <future>
#include <thread>

#include "platform/library.h"
#include "platform/wintypes.h"
#include "platform/winuser.h"

namespace shell {

inline constexpr UINT kMsgVibratePulse = WM_APP + 1;  // wParam: duration | pause << 16; lParam: count
inline constexpr UINT kMsgVibrateStop = WM_APP + 2;

// The pulse every button gives when vibration is on.
inline constexpr DWORD kButtonPulseMs = 40;
// Played instead of a request that is too long or has too many pulses.
inline constexpr DWORD kFallbackPulseMs = 50;
inline constexpr DWORD kMaxPulseMs = 50000;
inline constexpr DWORD kMaxPulseCount = 100;

class Vibrator {
  public:
    Vibrator() = default;
    // Ends the worker (if started) and waits for it.
    ~Vibrator();
    Vibrator(const Vibrator&) = delete;
    Vibrator& operator=(const Vibrator&) = delete;

    // Queues count pulses (at least one) of durationMs with pauseMs between them; a duration above
    // 50000 ms or a count above 100 plays one 50 ms pulse instead. Durations and pauses are carried
    // in 16 bits each. Starts the worker on the first request; false when it cannot be started or
    // the request cannot be posted.
    bool pulse(DWORD durationMs, DWORD pauseMs, DWORD count);
    // Ends the worker after the requests already queued and waits for it; a later pulse starts a
    // new one. Nothing happens when no worker runs.
    void stop();

    // The worker's loop; public for the thread entry only.
    void run(DWORD* threadId, std::promise<void>* ready);

  private:
    bool start();
    void play(DWORD durationMs, DWORD pauseMs, DWORD count);
    bool findDevice();
    bool switchDevice(bool on);

    std::thread m_thread;
    DWORD m_threadId = 0;
    // Found once by the worker: the LED index of the vibration device, or disabled for the run.
    bool m_deviceSearched = false;
    bool m_disabled = false;
    UINT m_deviceIndex = 1;
    HMODULE m_library = nullptr;
    FARPROC m_setDevice = nullptr;
};

}  // namespace shell
