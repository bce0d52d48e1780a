// PressTracker: one stylus press on the items of a window: which item is held, whether it shows its
// pressed look (only while the stylus is inside it), and the capture taken for the press and handed
// back to the window that held it before. Image keys and the windows of pressable items share it.
#pragma once

#include "platform/windows.h"

class PressTracker {
  public:
    // Holds item (>= 0) of window with its pressed look and takes the capture for window,
    // remembering the previous holder (a second begin while window holds it keeps the first one).
    void begin(HWND window, int item);
    // The stylus is now inside the held item or not; true when the pressed look changed. Nothing
    // changes while no item is held.
    bool follow(bool inside);
    // Ends the press: returns the held item (-1 when none). No item is held afterwards, and when
    // window holds the capture it gives it back to the previous holder (if that still exists).
    int end(HWND window);
    // The capture went to another window: the press ends without handing anything back. Returns the
    // item that was held (-1 when none).
    int drop();

    int held() const { return m_held; }
    bool looksPressed() const { return m_pressedLook; }

  private:
    int m_held = -1;
    bool m_pressedLook = false;
    HWND m_previousCapture = nullptr;
};
