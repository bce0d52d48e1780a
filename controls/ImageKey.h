// ImageKey: a finger button that shows one slice of a normal-look bitmap and, while pressed, the same
// slice of a pressed-look bitmap, and reports presses, releases and clicks to its parent.
#pragma once

#include "ControlBase.h"
#include "PressTracker.h"

class ImageKey : public ControlBase {
  public:
    // Creates the key's child window; id is reported in every notification. False on failure.
    bool create(HWND parent, const RECT& rect, LPCWSTR windowName, UINT keyId);

    // The two looks (bitmaps owned by the creating control, which keeps them alive while the key
    // exists) and the part of both that the key shows, in device pixels. Repaints on a change.
    void setImages(HBITMAP normal, HBITMAP pressed, const RECT& source);
    // Leaves out the pixels of color when drawing the image, over the background colour.
    void setTransparentColor(COLORREF color);

    // Ends a press without notifications: the normal look comes back at once and the capture goes
    // back to the window that held it before the press.
    void release();

    UINT keyId() const { return m_keyId; }
    bool isHeld() const { return m_press.looksPressed(); }
    // True while the key shows its pressed look (held, or set pushed by BM_SETSTATE).
    bool showsPressed() const { return isHeld() || m_pushed; }

    // Fills the background when transparent, then copies the source slice of the current look,
    // centred in the client area when that is larger.
    void draw(HDC hdc) override;
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void stylusDown();
    void stylusMove(POINT point);
    void stylusUp(POINT point);
    // Ends the press, repaints at once and hands the capture back.
    void endPress();
    bool contains(POINT point) const;
    void drawImage(HDC hdc, HBITMAP image, const RECT& client);

    UINT m_keyId = 0;
    HBITMAP m_normal = nullptr;
    HBITMAP m_pressed = nullptr;
    RECT m_source{};
    bool m_transparent = false;
    COLORREF m_transparentColor = RGB(255, 255, 255);
    PressTracker m_press;   // the key is its one item
    bool m_pushed = false;  // the button state's pushed flag (BM_SETSTATE)
};
