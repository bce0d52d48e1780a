// Shared set-up of the dialog, message box and menu tests: the compiled test templates registered
// under a module handle, an owner window, a probe control class, and idle steps that feed a modal
// loop one action each time it runs out of messages.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "MessageRecorder.h"
#include "UserTesting.h"
#include "platform/display.h"
#include "platform/windows.h"
#include "resources/DialogtestsResources.h"

namespace dialogtest {

using platform::testing::ExpectedMessage;
using platform::testing::kLParam;
using platform::testing::kOptional;
using platform::testing::kPosted;
using platform::testing::kSent;
using platform::testing::kWParam;

inline LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Feeds a modal loop: each time it waits, the next step runs (with the modal window).
class IdleSteps {
  public:
    IdleSteps() {
        platform::setModalIdleHook([this](HWND modal) {
            ++m_idles;
            if (m_steps.empty()) {
                ADD_FAILURE() << "the modal loop waits with nothing left to feed it";
                EndMenu();
                EndDialog(modal, -2);
                return;
            }
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step(modal);
        });
    }
    ~IdleSteps() { platform::setModalIdleHook(nullptr); }
    IdleSteps(const IdleSteps&) = delete;
    IdleSteps& operator=(const IdleSteps&) = delete;

    IdleSteps& then(std::function<void(HWND)> step) {
        m_steps.push_back(std::move(step));
        return *this;
    }
    int idles() const { return m_idles; }

  private:
    std::deque<std::function<void(HWND)>> m_steps;
    int m_idles = 0;
};

// A tap at the centre of a window, on the screen.
inline void tapWindow(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    platform::testing::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::registerModuleResources(module(), dialogtestsResourceTable()));
        WNDCLASSW cls{};
        cls.lpfnWndProc = plainProc;
        cls.lpszClassName = u"Probe";
        RegisterClassW(&cls);
        cls.lpszClassName = u"Owner";
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&cls);
        m_owner = CreateWindowExW(0, u"Owner", u"Owner", WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_TRUE(m_owner);
        platform::testing::pumpMessages();
        platform::takeMessageBoxes();
        platform::takeLastBeep();
    }
    void TearDown() override { platform::unregisterModuleResources(module()); }

    static HINSTANCE module() { return reinterpret_cast<HINSTANCE>(const_cast<char*>(&kMarker)); }
    HWND owner() const { return m_owner; }

  private:
    platform::testing::WindowTestScope m_scope;
    HWND m_owner = nullptr;
    static inline const char kMarker = 0;
};

}  // namespace dialogtest
