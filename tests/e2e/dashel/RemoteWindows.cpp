// The forked helper that finds and posts to other processes' windows through the window directory.
#include "RemoteWindows.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "TempRoot.h"
#include "platform/device.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace dashele2e {

bool postToWindow(const std::string& root, const WCHAR* windowClass,
                  const std::vector<RemoteMessage>& messages, int timeoutMs) {
    int result = platform::testing::runInChild([&]() -> int {
        setenv("VARKEL_ROOT", root.c_str(), 1);
        setenv("VARKEL_DISPLAY", "headless", 1);
        unsetenv("VARKEL_SCRIPT");
        platform::setDeviceRoot(root);
        if (!platform::startDisplay()) return 3;
        // The other process lists its window once its first frame or script step has run.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        HWND window = nullptr;
        while ((window = FindWindowW(windowClass, nullptr)) == nullptr) {
            if (std::chrono::steady_clock::now() > deadline) return 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        for (const RemoteMessage& m : messages)
            if (!PostMessageW(window, m.message, m.wParam, m.lParam)) return 2;
        platform::stopDisplay();
        return 0;
    });
    return result == 0;
}

bool waitForWindow(const std::string& root, const WCHAR* windowClass, int timeoutMs) {
    return postToWindow(root, windowClass, {}, timeoutMs);
}

}  // namespace dashele2e
