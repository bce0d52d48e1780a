// FingerDropList: the popup a finger combo box opens: a list view with two large page keys at its
// right. While shown it holds the stylus: taps inside reach the list or the keys, a tap outside asks
// the owner to close it.
#pragma once

#include "FingerListView.h"
#include "ImageKey.h"
#include "WindowObject.h"

class FingerDropList : public WindowObject {
  public:
    static constexpr COLORREF kBackground = RGB(101, 129, 183);
    // Key ids and repeat timers of the page keys.
    static constexpr UINT kPageUpKey = 1;
    static constexpr UINT kPageDownKey = 2;
    static constexpr UINT kPageRepeatMs = 150;
    // The list's rows in 96-dpi units.
    static constexpr int kRowWidthUnits = 34;
    static constexpr int kRowHeightUnits = 31;

    // Destroys the window, then deletes the page-key images and the background brush.
    ~FingerDropList() override;

    // Creates the hidden popup "FingerDropList" owned by owner (the combo box, which receives the
    // close requests and the confirmations), with its list view (fit-to-count) and the page keys
    // "Up" and "Down" showing the halves of the page-key images of resources. False when an image is
    // missing or a window cannot be created.
    bool create(HWND owner, HINSTANCE resources);

    // Shows the popup below and left of the owner's screen rectangle (kept on the screen), takes the
    // stylus capture, remembers the window that has the focus and gives the focus to the list.
    void show(const RECT& ownerScreen);
    // Hides the popup, lets go of the capture and gives the focus back to the window that had it
    // when the popup was shown. Nothing happens while hidden.
    void hide();
    bool isShown() const;

    FingerListView& view() { return m_view; }
    const FingerListView& view() const { return m_view; }
    ImageKey& pageKey(UINT keyId) { return keyId == kPageUpKey ? m_up : m_down; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void onStylus(UINT message, WPARAM wParam, POINT point);
    void forwardToChild(UINT message, WPARAM wParam, POINT point);
    void paint();

    HWND m_owner = nullptr;
    HWND m_previousFocus = nullptr;
    bool m_armed = false;
    HBITMAP m_normal = nullptr;
    HBITMAP m_pressed = nullptr;
    HBRUSH m_background = nullptr;
    FingerListView m_view;
    ImageKey m_up;
    ImageKey m_down;
};
