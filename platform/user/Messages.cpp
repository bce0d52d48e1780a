// Sending, posting, retrieving and dispatching messages. Retrieval order: messages sent from other
// threads are handled first, then posted messages, then WM_QUIT, then WM_PAINT for windows with an
// invalid area (generated, never queued), then WM_TIMER (queued when due, taken last). On the
// virtual clock a waiting GetMessageW advances the clock to the thread's next timer instead of
// blocking; it blocks only when the thread has no timer.

#include <chrono>

#include "MessageQueue.h"
#include "Timers.h"
#include "WindowManager.h"
#include "platform/clock.h"

using namespace platform::user;

namespace {

thread_local DWORD t_messageTime = 0;
thread_local POINT t_messagePos{0, 0};

struct Filter {
    HWND window;
    UINT min;
    UINT max;

    bool inRange(UINT message) const { return (min == 0 && max == 0) || (message >= min && message <= max); }
    bool acceptsWindow(HWND hwnd) const {
        if (!window) return true;
        if (window == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
        return hwnd == window || IsChild(window, hwnd);
    }
    bool accepts(const MSG& msg) const { return inRange(msg.message) && acceptsWindow(msg.hwnd); }
};

void waitForArrival(MessageQueue& queue, uint64_t seen) {
    std::optional<DWORD> due = platform::nextTimerDue();
    if (platform::isVirtualClock()) {
        // Only this thread's own timers move the virtual clock: a thread waiting for messages must
        // not run time forward for the others.
        due = nextTimerDueFor(queue.thread());
        if (due) {
            auto delta = static_cast<int32_t>(*due - GetTickCount());
            platform::advanceClock(delta > 0 ? static_cast<DWORD>(delta) : 0);
            return;
        }
        queue.wait(seen, false, {});
        return;
    }
    if (!due) {
        queue.wait(seen, false, {});
        return;
    }
    auto delta = static_cast<int32_t>(*due - GetTickCount());
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(delta > 0 ? delta : 0);
    queue.wait(seen, true, deadline);
}

bool taken(const MSG& msg) {
    t_messageTime = msg.time;
    t_messagePos = msg.pt;
    return true;
}

bool fetch(MSG* msg, const Filter& filter, bool remove, bool wait) {
    auto queue = currentQueue();
    auto posted = [&](const MSG& m) { return m.message != WM_TIMER && filter.accepts(m); };
    auto timer = [&](const MSG& m) { return m.message == WM_TIMER && filter.accepts(m); };
    for (;;) {
        uint64_t seen = queue->generation();
        handleSentMessages();
        platform::runDueTimers();
        if (queue->take(*msg, posted, remove)) return taken(*msg);
        int exitCode = 0;
        if (filter.inRange(WM_QUIT) && queue->takeQuit(exitCode, remove)) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, GetTickCount(), cursorPos()};
            return true;
        }
        if (filter.inRange(WM_PAINT)) {
            if (HWND window = nextPaintWindow(currentThread(), filter.window)) {
                *msg = MSG{window, WM_PAINT, 0, 0, GetTickCount(), cursorPos()};
                return true;
            }
        }
        // WM_TIMER has the lowest priority, as on the device: it comes after painting.
        if (queue->take(*msg, timer, remove)) {
            if (remove) timerDelivered(msg->hwnd, msg->wParam);
            return taken(*msg);
        }
        presentIfPainted();
        if (!wait) return false;
        waitForArrival(*queue, seen);
    }
}

LRESULT sendToOtherThread(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto target = queueOf(thread);
    auto self = currentQueue();
    if (!target) return 0;
    auto sent = std::make_shared<SentMessage>(SentMessage{window, message, wParam, lParam, 0, false, self});
    if (!target->send(sent)) return 0;
    for (;;) {
        uint64_t seen = self->generation();
        {
            std::lock_guard lock(self->mutex());
            if (sent->done) return sent->result;
        }
        if (handleSentMessages()) continue;
        self->wait(seen, false, {});
    }
}

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, GetTickCount(), cursorPos()};
}

}  // namespace

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == HWND_BROADCAST) {
        platform::forEachTopLevelWindow([&](HWND top) { SendMessageW(top, message, wParam, lParam); });
        return 0;
    }
    DWORD thread;
    platform::ForeignWindows* foreign;
    {
        Lock lock = lockState();
        Window* w = find(window);
        foreign = state().foreign;
        thread = w ? w->thread : 0;
    }
    if (!thread) {
        // A window of another process gets the message through the window directory; its result
        // cannot come back, so the answer is 0 either way.
        if (!foreign || !foreign->post(window, message, wParam, lParam))
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (thread == currentThread()) return callWindowProc(window, message, wParam, lParam, false);
    return sendToOtherThread(thread, window, message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window) return PostThreadMessageW(currentThread(), message, wParam, lParam);
    if (window == HWND_BROADCAST) {
        platform::forEachTopLevelWindow([&](HWND top) { PostMessageW(top, message, wParam, lParam); });
        return TRUE;
    }
    DWORD thread;
    platform::ForeignWindows* foreign;
    {
        Lock lock = lockState();
        Window* w = find(window);
        foreign = state().foreign;
        thread = w ? w->thread : 0;
    }
    if (!thread) {
        if (foreign && foreign->post(window, message, wParam, lParam)) return TRUE;
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto queue = queueOf(thread);
    if (!queue || !queue->post(makeMessage(window, message, wParam, lParam))) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    auto queue = queueOf(threadId);
    if (!queue || !queue->post(makeMessage(nullptr, message, wParam, lParam))) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return TRUE;
}

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    fetch(msg, Filter{window, filterMin, filterMax}, true, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG local;
    return fetch(msg ? msg : &local, Filter{window, filterMin, filterMax}, removeFlags & PM_REMOVE, false);
}

BOOL WaitMessage() {
    auto queue = currentQueue();
    uint64_t seen = queue->generation();
    MSG msg;
    if (fetch(&msg, Filter{nullptr, 0, 0}, false, false)) return TRUE;
    waitForArrival(*queue, seen);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam && isTimerProc(msg->hwnd, msg->wParam, msg->lParam)) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd) return 0;
    {
        Lock lock = lockState();
        Window* w = find(msg->hwnd);
        if (!w || w->thread != currentThread()) return 0;
    }
    LRESULT result = callWindowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam, true);
    // A window procedure that leaves its invalid area unpainted would get WM_PAINT forever.
    if (msg->message == WM_PAINT) ValidateRect(msg->hwnd, nullptr);
    return result;
}

void PostQuitMessage(int exitCode) {
    currentQueue()->postQuit(exitCode);
}

DWORD GetMessagePos() {
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(t_messagePos.x), static_cast<WORD>(t_messagePos.y)));
}

LONG GetMessageTime() {
    return static_cast<LONG>(t_messageTime);
}

DWORD GetQueueStatus(UINT flags) {
    MSG msg;
    DWORD status = 0;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_PAINT)
            status |= QS_PAINT;
        else if (msg.message == WM_TIMER)
            status |= QS_TIMER;
        else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            status |= QS_MOUSEBUTTON;
        else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
            status |= QS_KEY;
        else
            status |= QS_POSTMESSAGE;
    }
    return (status & flags) << 16 | (status & flags);
}
