// Per-thread message queues and the registry of them; a thread's queue closes when it ends.

#include "MessageQueue.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <string>
#include <unordered_map>

#include "WindowManager.h"

namespace platform::user {

namespace {

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unordered_map<DWORD, std::shared_ptr<MessageQueue>>& registry() {
    static auto* queues = new std::unordered_map<DWORD, std::shared_ptr<MessageQueue>>();
    return *queues;
}

bool threadAlive(DWORD thread) {
    std::string path = "/proc/self/task/" + std::to_string(thread);
    return access(path.c_str(), F_OK) == 0;
}

// When a thread ends, its windows are destroyed (as the device does; the main thread is left alone,
// since its end is the process's exit) and its queue is closed so that senders are not left waiting.
// Set once the thread's holder is destroyed: exit handlers of the main thread (the display's
// shutdown killing its timers, for one) run after its thread-local objects are gone, and must not
// touch the holder then. A plain flag stays readable to the end.
thread_local bool t_holderGone = false;

struct QueueHolder {
    std::shared_ptr<MessageQueue> queue;
    ~QueueHolder() {
        t_holderGone = true;
        if (!queue) return;
        if (currentThread() != static_cast<DWORD>(getpid())) platform::destroyThreadWindows();
        queue->close();
        std::lock_guard lock(registryMutex());
        auto it = registry().find(queue->thread());
        if (it != registry().end() && it->second == queue) registry().erase(it);
    }
};

thread_local QueueHolder t_holder;

}  // namespace

DWORD currentThread() {
    static thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

std::shared_ptr<MessageQueue> currentQueue() {
    DWORD self = currentThread();
    if (t_holderGone) {
        // The thread is ending: a closed queue refuses every post and wait without blocking.
        auto closed = std::make_shared<MessageQueue>(self);
        closed->close();
        return closed;
    }
    if (t_holder.queue) return t_holder.queue;
    std::lock_guard lock(registryMutex());
    auto& slot = registry()[self];
    if (!slot || slot->closed()) slot = std::make_shared<MessageQueue>(self);
    t_holder.queue = slot;
    return slot;
}

std::shared_ptr<MessageQueue> queueOf(DWORD thread) {
    if (thread == currentThread()) return currentQueue();
    std::lock_guard lock(registryMutex());
    auto it = registry().find(thread);
    if (it != registry().end() && !it->second->closed()) return it->second;
    if (thread == 0 || !threadAlive(thread)) return nullptr;
    auto queue = std::make_shared<MessageQueue>(thread);
    registry()[thread] = queue;
    return queue;
}

bool MessageQueue::post(const MSG& msg, bool front) {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return false;
        ++m_generation;
        if (front) {
            m_posted.push_front(msg);
        } else if (msg.message == WM_MOUSEMOVE && !m_posted.empty() &&
                   m_posted.back().message == WM_MOUSEMOVE && m_posted.back().hwnd == msg.hwnd) {
            m_posted.back() = msg;
        } else {
            m_posted.push_back(msg);
        }
    }
    m_signal.notify_all();
    return true;
}

bool MessageQueue::send(const std::shared_ptr<SentMessage>& message) {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return false;
        ++m_generation;
        m_sent.push_back(message);
    }
    m_signal.notify_all();
    return true;
}

void MessageQueue::postQuit(int exitCode) {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_quitCode = exitCode;
        ++m_generation;
    }
    m_signal.notify_all();
}

bool MessageQueue::take(MSG& out, const std::function<bool(const MSG&)>& accept, bool remove) {
    std::lock_guard lock(m_mutex);
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        if (!accept(*it)) continue;
        out = *it;
        if (remove) m_posted.erase(it);
        return true;
    }
    return false;
}

size_t MessageQueue::removeIf(const std::function<bool(const MSG&)>& match) {
    std::lock_guard lock(m_mutex);
    return std::erase_if(m_posted, match);
}

bool MessageQueue::hasPosted() {
    std::lock_guard lock(m_mutex);
    return !m_posted.empty();
}

bool MessageQueue::takeQuit(int& exitCode, bool remove) {
    std::lock_guard lock(m_mutex);
    if (!m_quit) return false;
    exitCode = m_quitCode;
    if (remove) m_quit = false;
    return true;
}

std::shared_ptr<SentMessage> MessageQueue::nextSent() {
    std::lock_guard lock(m_mutex);
    if (m_sent.empty()) return nullptr;
    auto message = m_sent.front();
    m_sent.pop_front();
    return message;
}

void MessageQueue::reply(const std::shared_ptr<SentMessage>& message, LRESULT result) {
    auto& sender = *message->sender;
    {
        std::lock_guard lock(sender.m_mutex);
        message->result = result;
        message->done = true;
        ++sender.m_generation;
    }
    sender.m_signal.notify_all();
}

uint64_t MessageQueue::generation() {
    std::lock_guard lock(m_mutex);
    return m_generation;
}

void MessageQueue::wait(uint64_t seen, bool useDeadline, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(m_mutex);
    auto arrived = [this, seen] { return m_generation != seen || m_closed; };
    if (useDeadline)
        m_signal.wait_until(lock, deadline, arrived);
    else
        m_signal.wait(lock, arrived);
}

void MessageQueue::wake() {
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
    }
    m_signal.notify_all();
}

void MessageQueue::close() {
    std::deque<std::shared_ptr<SentMessage>> pending;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        pending.swap(m_sent);
        m_posted.clear();
    }
    for (auto& message : pending)
        reply(message, 0);
}

bool MessageQueue::closed() {
    std::lock_guard lock(m_mutex);
    return m_closed;
}

bool handleSentMessages() {
    auto queue = currentQueue();
    bool any = false;
    while (auto message = queue->nextSent()) {
        LRESULT result =
            callWindowProc(message->window, message->message, message->wParam, message->lParam, false);
        MessageQueue::reply(message, result);
        any = true;
    }
    return any;
}

}  // namespace platform::user
