// What the standard controls share: per-window state kept beside the window (so that a subclassed
// control keeps working), notifications and colours asked of the parent, fonts and stored text.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/winuser.h"

namespace platform::user {

// State of one control class, one entry per window, created on first use and dropped at
// WM_NCDESTROY. Entries are touched only on their window's thread; the table itself is locked.
template <typename T>
class ControlTable {
  public:
    T& of(HWND window) {
        std::lock_guard lock(m_mutex);
        auto& slot = m_items[window];
        if (!slot) slot = std::make_unique<T>();
        return *slot;
    }
    void erase(HWND window) {
        std::unique_ptr<T> gone;
        std::lock_guard lock(m_mutex);
        auto it = m_items.find(window);
        if (it == m_items.end()) return;
        gone = std::move(it->second);
        m_items.erase(it);
    }

  private:
    std::mutex m_mutex;
    std::unordered_map<HWND, std::unique_ptr<T>> m_items;
};

// Sends WM_COMMAND(MAKEWPARAM(id, code), control) to the control's parent; nothing without one.
void notifyParent(HWND control, WORD code);
// Sends message (a WM_CTLCOLOR*) to the parent with hdc, which sets the text and background colours
// on it and returns the background brush. A parent answering 0, or none, gets the default procedure's
// colours. Returns the brush to fill with.
HBRUSH parentColours(HWND control, HDC hdc, UINT message);
// The window's text as the default window procedure keeps it.
std::u16string storedText(HWND window);
// The font a control draws with: its own, or the system font when it has none.
HFONT fontOrSystem(HFONT font);
// The window's style bits.
DWORD styleOf(HWND window);
// A length in 96-dpi units scaled to the screen's resolution.
int scaled(int units);

LRESULT CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::user
