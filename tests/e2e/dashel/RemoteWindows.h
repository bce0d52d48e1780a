// Reaching the programs' windows from the tests as another process would: a forked helper attaches
// to the device root's window directory, finds a top-level window by class and posts to it.
#pragma once

#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace dashele2e {

struct RemoteMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// In a child process on device root `root`: waits up to timeoutMs (wall clock) for a top-level
// window of windowClass to appear in the window directory, then posts the messages to it in order.
// True when the window was found and every message was posted.
bool postToWindow(const std::string& root, const WCHAR* windowClass,
                  const std::vector<RemoteMessage>& messages, int timeoutMs = 20000);

// True when a window of windowClass appears within timeoutMs.
bool waitForWindow(const std::string& root, const WCHAR* windowClass, int timeoutMs = 20000);

}  // namespace dashele2e
