// Driving the item's modal windows from a test: each time a modal loop waits (a dialog box through the
// platform's idle hook, the pop-up text window through the WM_ENTERIDLE it sends its owner), the next
// step runs with that window and the loop is woken to go on. When the steps are used up, a waiting
// window is closed (counted as an overrun) so that no test can hang.
#pragma once

#include <functional>
#include <vector>

#include "platform/winuser.h"

namespace todaytest {

class ModalSteps {
  public:
    using Step = std::function<void(HWND modal)>;
    explicit ModalSteps(std::vector<Step> steps);
    ~ModalSteps();
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    // Steps run so far, and the waits met after the last one.
    size_t ran() const { return m_next; }
    int overruns() const { return m_overruns; }
    bool allRan() const { return m_next == m_steps.size(); }

  private:
    void idle(HWND modal);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_overruns = 0;
};

// The window's class name.
std::u16string classOf(HWND window);
// The first descendant of window whose window text is name; NULL when none.
HWND findDescendant(HWND window, const std::u16string& name);
// The centre of a window's client area in screen pixels.
POINT screenCentre(HWND window);

}  // namespace todaytest
