// DialogButton: the grey button of the settings page and the create dialogs. It sizes itself to its
// text, draws a framed gradient face with white text, may carry a drop-down icon at its right (and
// then acts as soon as the stylus goes down, so that its owner can open a menu), and sends
// WM_COMMAND(id, button) to its parent.
#pragma once

#include "WindowObject.h"

namespace shell {

class DialogButton : public WindowObject {
  public:
    // The drop-down icon (its normal and high-resolution images); white is left out as transparent.
    static constexpr UINT kIcon = 167;
    static constexpr UINT kIconHigh = 168;
    static constexpr COLORREF kIconTransparent = RGB(255, 255, 255);
    static constexpr COLORREF kFaceTop = RGB(215, 215, 215);
    static constexpr COLORREF kFaceBottom = RGB(180, 180, 180);
    // Design sizes in 96-dpi units.
    static constexpr int kMarginY = 2;
    static constexpr int kPaddingX = 6;
    static constexpr int kIconSize = 8;
    static constexpr int kMinWidth = 60;
    static constexpr int kMinHeight = 20;

    ~DialogButton() override;

    // Creates the visible child window named text with id at position (parent client pixels) and
    // sizes it at once (see resize()). The icon comes from resources (null: the program's resource
    // module). False when the window cannot be created.
    bool create(HWND parent, LPCWSTR text, POINT position, UINT id, HINSTANCE resources = nullptr);
    // Each of these sizes the button again (font, icon, text) or repaints it (background).
    void setFont(HFONT font);
    // With the icon the button also acts on stylus down. False when the icon cannot be loaded.
    bool setIcon(bool on);
    void setText(LPCWSTR text);
    // The colour of the corner pixels outside the frame (white until set).
    void setBackgroundColor(COLORREF colour);

    bool held() const { return m_held; }
    bool hasIcon() const { return m_icon != nullptr; }
    UINT id() const { return m_id; }
    // Width: the text's width plus 6 units on each side (and 8 more with the icon), at least 60 units;
    // height: the text's height plus 2 units above and below, at least 20 units, always odd (an even
    // height gains a pixel). The position stays.
    void resize();

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint(HDC target);
    void drawFace(HDC hdc, int width, int height) const;
    void drawIcon(HDC hdc, int width, int height) const;
    void setHeld(bool held);
    void click();
    void onDown();
    void onMove(POINT point);
    void onUp(POINT point);

    UINT m_id = 0;
    HFONT m_font = nullptr;
    HBITMAP m_icon = nullptr;
    HINSTANCE m_resources = nullptr;
    COLORREF m_background = RGB(255, 255, 255);
    bool m_held = false;
};

}  // namespace shell
