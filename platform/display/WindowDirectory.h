// The cross-process window directory: one small file per live top-level window of every process in
// <device root>/run/windows/, and a datagram socket per process through which others post messages
// to its windows and bring them to the foreground.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/winuser.h"

namespace platform::display {

// One window of another process as the directory lists it.
struct DirectoryEntry {
    long pid = 0;
    unsigned long long processStart = 0;  // the process's start time, against pid reuse
    unsigned long long window = 0;        // the window's handle value inside its process
    std::u16string className;
    std::u16string title;
    std::string socketName;  // abstract socket name of the owner's receiver
};

class WindowDirectory : public ForeignWindows {
  public:
    // Opens the folder and this process's receiver socket and starts its receiver thread; entries
    // of dead processes are removed. ok() tells whether it worked.
    WindowDirectory();
    // Stops the receiver and removes this process's entries.
    ~WindowDirectory() override;
    WindowDirectory(const WindowDirectory&) = delete;
    WindowDirectory& operator=(const WindowDirectory&) = delete;

    bool ok() const { return m_receiver.joinable(); }

    // Writes entries for this process's top-level windows as they are now (class, title) and
    // removes the entries of windows that are gone. Must run on a thread allowed to send to them.
    void sync();

    // The first live window of another process matching the class and title (either may be null;
    // compared without regard to case), as a foreign handle; null when none.
    HWND find(LPCWSTR className, LPCWSTR windowName) override;
    // Sends the message (number and both parameters as integers; pointers cannot cross processes)
    // to the owner, which posts it to its window. False when the owner is gone.
    bool post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Asks the owner to bring the window forward with its own SetForegroundWindow.
    bool setForeground(HWND window) override;
    // True while the window's process lives and lists the window.
    bool isWindow(HWND window) override;

    // True for handles this directory hands out (they never equal a local window's handle).
    static bool isForeignHandle(HWND window);
    // The live entries of other processes, removing stale ones of dead processes.
    std::vector<DirectoryEntry> entries();

  private:
    bool sendRequest(HWND window, uint32_t kind, UINT message, WPARAM wParam, LPARAM lParam);
    bool entryOf(HWND window, DirectoryEntry& entry);
    HWND handleFor(const DirectoryEntry& entry);
    // Shared with the receiver thread, which may outlive the directory when it cannot stop in time
    // (blocked on a window of a thread that no longer answers); the last owner closes the socket.
    struct ReceiverState {
        int socket = -1;
        std::atomic<bool> stopping{false};
        std::mutex mutex;
        std::condition_variable stopped;
        bool done = false;
        ~ReceiverState();
    };
    static void receive(const std::shared_ptr<ReceiverState>& state);

    std::string m_folder;
    std::string m_socketName;
    long m_pid = 0;
    unsigned long long m_start = 0;
    std::shared_ptr<ReceiverState> m_state = std::make_shared<ReceiverState>();
    std::thread m_receiver;
    std::mutex m_mutex;
    std::map<unsigned long long, std::string> m_written;  // own window -> file contents
    std::vector<DirectoryEntry> m_handles;                // foreign handle index -> entry
};

}  // namespace platform::display
