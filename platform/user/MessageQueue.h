// Per-thread message queues: posted messages, messages sent from other threads awaiting an answer,
// the quit flag, and the registry that finds a thread's queue by its id.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/winuser.h"

namespace platform::user {

class MessageQueue;

// A message sent from another thread: the sender waits until done is set.
struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<MessageQueue> sender;
};

class MessageQueue {
  public:
    explicit MessageQueue(DWORD thread) : m_thread(thread) {}

    DWORD thread() const { return m_thread; }
    // Appends a posted message; false once the thread has ended. A WM_MOUSEMOVE directly following
    // another one for the same window replaces it, as the device merges stylus moves.
    bool post(const MSG& msg, bool front = false);
    // Hands a sent message to this thread; false once the thread has ended.
    bool send(const std::shared_ptr<SentMessage>& message);
    void postQuit(int exitCode);

    // The first posted message for which accept returns true; removed when remove is set.
    bool take(MSG& out, const std::function<bool(const MSG&)>& accept, bool remove);
    // Removes every posted message for which match returns true; returns how many.
    size_t removeIf(const std::function<bool(const MSG&)>& match);
    bool hasPosted();
    // The quit request, cleared when taken.
    bool takeQuit(int& exitCode, bool remove);
    std::shared_ptr<SentMessage> nextSent();
    // Marks a sent message answered and wakes its sender.
    static void reply(const std::shared_ptr<SentMessage>& message, LRESULT result);

    // Counts arrivals (posted, sent, quit, wake); read it before looking at the queue.
    uint64_t generation();
    // Waits until something arrives after generation seen was read, or until the deadline when
    // useDeadline is set.
    void wait(uint64_t seen, bool useDeadline, std::chrono::steady_clock::time_point deadline);
    // Wakes a waiting thread (for example after a timer posted or a window was invalidated).
    void wake();
    // The thread ended: pending sent messages are answered with 0, later posts fail.
    void close();
    bool closed();

    std::mutex& mutex() { return m_mutex; }
    std::condition_variable& signal() { return m_signal; }

  private:
    DWORD m_thread;
    std::mutex m_mutex;
    std::condition_variable m_signal;
    std::deque<MSG> m_posted;
    std::deque<std::shared_ptr<SentMessage>> m_sent;
    bool m_quit = false;
    int m_quitCode = 0;
    uint64_t m_generation = 0;
    bool m_closed = false;
};

// The calling thread's queue, created on first use.
std::shared_ptr<MessageQueue> currentQueue();
// The queue of a thread of this process; created when the thread is alive but has none yet.
// Null for an unknown or ended thread.
std::shared_ptr<MessageQueue> queueOf(DWORD thread);
// Answers the sent messages waiting for the calling thread; true when any was handled.
bool handleSentMessages();

}  // namespace platform::user
