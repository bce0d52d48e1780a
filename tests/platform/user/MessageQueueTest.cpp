// Queues, threads and timers: posting and sending across threads, WM_QUIT, timers on the virtual
// clock with one pending WM_TIMER each, ranged removal and KillTimer.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "TempRoot.h"
#include "TestWindows.h"

using namespace usertest;
using platform::testing::MessageRecorder;
using platform::testing::pumpMessages;
using platform::testing::WindowTestScope;

namespace {

// Removes the queued messages of one kind and returns how many there were.
int takeQueued(UINT message) {
    int count = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, message, message, PM_REMOVE))
        ++count;
    return count;
}

TEST(MessageQueue, GetMessageReturnsZeroOnQuitAfterPostedMessages) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    pumpMessages();
    PostMessageW(w, WM_USER + 1, 5, 6);
    PostQuitMessage(42);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 42u);
}

TEST(MessageQueue, RangedPeekLeavesQuitForTheMessageLoop) {
    WindowTestScope scope;
    PostQuitMessage(3);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK, PM_REMOVE));
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, PostThreadMessageReachesAWorkerThreadsQueue) {
    WindowTestScope scope;
    std::atomic<DWORD> workerId{0};
    std::atomic<int> received{0};
    std::thread worker([&] {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        workerId = GetCurrentThreadId();
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            if (msg.message == WM_APP + 1) received += static_cast<int>(msg.wParam);
            if (msg.message == WM_APP + 2) break;
        }
    });
    while (!workerId)
        std::this_thread::yield();
    EXPECT_NE(workerId.load(), GetCurrentThreadId());
    EXPECT_TRUE(PostThreadMessageW(workerId, WM_APP + 1, 40, 0));
    EXPECT_TRUE(PostThreadMessageW(workerId, WM_APP + 1, 2, 0));
    EXPECT_TRUE(PostThreadMessageW(workerId, WM_APP + 2, 0, 0));
    worker.join();
    EXPECT_EQ(received.load(), 42);
    EXPECT_FALSE(PostThreadMessageW(workerId, WM_APP + 1, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST(MessageQueue, SendMessageAcrossThreadsRunsOnTheOwnerThreadAndWaits) {
    WindowTestScope scope;
    HookGuard guard;
    DWORD ownerThread = GetCurrentThreadId();
    std::atomic<DWORD> handledOn{0};
    hook() = [&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_USER + 7) return false;
        handledOn = GetCurrentThreadId();
        result = static_cast<LRESULT>(wParam * 2);
        return true;
    };
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    std::atomic<LRESULT> answer{0};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        answer = SendMessageW(w, WM_USER + 7, 21, 0);
        done = true;
    });
    while (!done) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        std::this_thread::yield();
    }
    sender.join();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(handledOn.load(), ownerThread);
}

TEST(MessageQueue, TimerPostsOnePendingMessageRemovableByRangedPeek) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    pumpMessages();
    EXPECT_EQ(SetTimer(w, 5, 100, nullptr), 5u);
    platform::advanceClock(99);
    EXPECT_EQ(takeQueued(WM_TIMER), 0);
    platform::advanceClock(1);
    EXPECT_EQ(takeQueued(WM_TIMER), 1);
    platform::advanceClock(1000);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_TRUE(PeekMessageW(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE))
        << "only one WM_TIMER per timer is queued";
    platform::advanceClock(100);
    EXPECT_TRUE(PeekMessageW(&msg, w, WM_TIMER, WM_TIMER, PM_NOREMOVE))
        << "the timer posts again once delivered";
    EXPECT_TRUE(KillTimer(w, 5));
    EXPECT_FALSE(PeekMessageW(&msg, w, WM_TIMER, WM_TIMER, PM_NOREMOVE))
        << "KillTimer removes the queued message";
    platform::advanceClock(1000);
    EXPECT_FALSE(PeekMessageW(&msg, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_FALSE(KillTimer(w, 5));
}

TEST(MessageQueue, TimersOfSeveralWindowsFireInDueOrderAndDieWithTheirWindow) {
    WindowTestScope scope;
    HWND a = makeWindow(nullptr, 0, 0, 10, 10);
    HWND b = makeWindow(nullptr, 0, 0, 10, 10);
    pumpMessages();
    SetTimer(a, 1, 50, nullptr);
    SetTimer(b, 2, 30, nullptr);
    MessageRecorder recorder;
    recorder.ignore(WM_PAINT);
    platform::testing::advanceAndPump(60);
    EXPECT_TRUE(recorder.matches(
        {{WM_TIMER, kPosted | kWParam, 2, 0, b}, {WM_TIMER, kPosted | kWParam, 1, 0, a}}, "two timers"));
    DestroyWindow(b);
    pumpMessages();
    recorder.clear();
    platform::testing::advanceAndPump(100);
    EXPECT_TRUE(recorder.matches({{WM_TIMER, kPosted | kWParam, 1, 0, a}}, "timer of a destroyed window"));
}

int g_procCalls = 0;
void CALLBACK countingTimerProc(HWND, UINT message, UINT_PTR, DWORD) {
    if (message == WM_TIMER) ++g_procCalls;
}

TEST(MessageQueue, TimerProcRunsFromDispatchAndThreadTimersGetTheirOwnIds) {
    WindowTestScope scope;
    g_procCalls = 0;
    UINT_PTR first = SetTimer(nullptr, 0, 10, countingTimerProc);
    UINT_PTR second = SetTimer(nullptr, 0, 10, countingTimerProc);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    platform::testing::advanceAndPump(10);
    EXPECT_EQ(g_procCalls, 2);
    KillTimer(nullptr, first);
    KillTimer(nullptr, second);
    platform::testing::advanceAndPump(100);
    EXPECT_EQ(g_procCalls, 2);
}

TEST(MessageQueue, GetMessageOnTheVirtualClockAdvancesToTheNextTimer) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    pumpMessages();
    DWORD start = GetTickCount();
    SetTimer(w, 9, 250, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(GetTickCount() - start, 250u);
    KillTimer(w, 9);
}

}  // namespace

namespace {

TEST(MessageQueue, MsgWaitReturnsForQueueInputOrTimesOut) {
    WindowTestScope scope;
    pumpMessages();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 5, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT),
              static_cast<DWORD>(WAIT_OBJECT_0));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &mutex, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    pumpMessages();
}

TEST(MessageQueue, WindowsOfAnEndedThreadAreDestroyed) {
    WindowTestScope scope;
    HWND orphan = nullptr;
    std::thread owner([&] { orphan = makeWindow(nullptr, 0, 0, 10, 10, 0, 0); });
    owner.join();
    ASSERT_TRUE(orphan);
    EXPECT_FALSE(IsWindow(orphan)) << "a thread's windows end with it";
    EXPECT_FALSE(PostMessageW(orphan, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(orphan, WM_USER, 0, 0), 0);
}

}  // namespace

namespace {

TEST(MessageQueue, PostedMessagesComeFirstAndTimersAfterPainting) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    pumpMessages();
    SetTimer(w, 1, 10, nullptr);
    platform::advanceClock(10);
    InvalidateRect(w, nullptr, FALSE);
    PostMessageW(w, WM_USER + 3, 0, 0);
    MessageRecorder recorder;
    pumpMessages();
    EXPECT_TRUE(
        recorder.matches({{WM_USER + 3, kPosted}, {WM_PAINT, kPosted}, {WM_TIMER, kPosted}}, "priorities"));
    KillTimer(w, 1);
}

}  // namespace

namespace {

TEST(MessageQueue, WindowOnAWorkerThreadAnswersSendsWhileItsLoopWaits) {
    WindowTestScope scope;
    HookGuard guard;
    hook() = [](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_DESTROY) PostQuitMessage(7);
        if (message != WM_USER + 7) return false;
        result = static_cast<LRESULT>(wParam + 1);
        return true;
    };
    std::atomic<HWND> window{nullptr};
    std::atomic<int> exitCode{-1};
    std::thread worker([&] {
        window = makeWindow(nullptr, 0, 0, 10, 10, 0, 0);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0))
            DispatchMessageW(&msg);
        exitCode = static_cast<int>(msg.wParam);
    });
    while (!window)
        std::this_thread::yield();
    EXPECT_EQ(SendMessageW(window, WM_USER + 7, 41, 0), 42);
    EXPECT_TRUE(SetWindowTextW(window, u"worker"));
    WCHAR text[16];
    EXPECT_EQ(GetWindowTextW(window, text, 16), 6);
    EXPECT_EQ(std::u16string(text), u"worker");
    EXPECT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    worker.join();
    EXPECT_EQ(exitCode.load(), 7);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace

namespace {

TEST(MessageQueue, AWaitingWorkerDoesNotRunTheVirtualClockForOtherThreads) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    pumpMessages();
    SetTimer(w, 3, 100, nullptr);
    DWORD start = GetTickCount();
    std::atomic<DWORD> workerId{0};
    std::thread worker([&] {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        workerId = GetCurrentThreadId();
        GetMessageW(&msg, nullptr, 0, 0);
    });
    while (!workerId)
        std::this_thread::yield();
    for (int i = 0; i < 100; ++i)
        std::this_thread::yield();
    EXPECT_EQ(GetTickCount(), start) << "the worker waits for its messages, the clock stands still";
    PostThreadMessageW(workerId, WM_APP, 0, 0);
    worker.join();
    KillTimer(w, 3);
}

// A program's exit handlers run after its main thread's queue holder is gone; killing a timer or
// posting from there must end at once instead of touching the destroyed queue.
UINT_PTR g_exitTimer = 0;

TEST(MessageQueue, ExitHandlersMayKillTimersAfterTheThreadsQueueIsGone) {
    int status = platform::testing::runInChild([] {
        g_exitTimer = SetTimer(nullptr, 0, 1000, nullptr);
        MSG first;
        PeekMessageW(&first, nullptr, 0, 0, PM_REMOVE);  // the thread's queue exists from here on
        std::atexit([] {
            KillTimer(nullptr, g_exitTimer);
            PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        });
        std::exit(g_exitTimer != 0 ? 7 : 1);
        return 0;
    });
    EXPECT_EQ(status, 7);
}

}  // namespace
