// PressableItems: a child window of rectangular items that each send a command when the stylus is
// released on them: the held item shows its pressed look while the stylus stays inside it, with the
// capture taken for the whole press. The shell's button strips and field panel are built on it.
#pragma once

#include "PressTracker.h"
#include "WindowObject.h"

class PressableItems : public WindowObject {
  public:
    // The held item while the stylus is down on the window (-1 when none) and whether it shows its
    // pressed look (only while the stylus is inside it).
    int heldItem() const { return m_press.held(); }
    bool heldLooksPressed() const { return m_press.looksPressed(); }

    // Paints through paint(), never erases, and tracks presses: stylus down on an item holds it and
    // takes the capture; moving shows the pressed look only inside the held item; releasing inside
    // it sends WM_COMMAND(its command, this window) to the parent; losing the capture drops the hold.
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    virtual int itemCount() const = 0;
    // Item i's rectangle in client coordinates, and the command it sends.
    virtual RECT itemRect(int index) const = 0;
    virtual UINT itemCommand(int index) const = 0;
    virtual void paint(HDC hdc) = 0;
    // Called first on every stylus down; returns true when it took the press itself (such as a
    // control that acts on stylus down), so that no item is held.
    virtual bool takeStylusDown(POINT /*point*/) { return false; }
    void invalidateItem(int index);

  private:
    int itemAt(POINT point) const;
    void onDown(POINT point);
    void onMove(POINT point);
    void onUp(POINT point);

    PressTracker m_press;
};
