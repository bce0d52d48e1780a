// The "Button" control's per-window state and its painting, shared by the message handling
// (ButtonControl.cpp) and the drawing of each kind (ButtonPaint.cpp).
#pragma once

#include "platform/winuser.h"

namespace platform::user {

struct ButtonState {
    HFONT font = nullptr;
    UINT check = BST_UNCHECKED;  // BST_CHECKED or BST_INDETERMINATE for check boxes and radios
    bool pushed = false;         // drawn pressed (stylus held inside, space held, BM_SETSTATE)
    bool focused = false;
    bool tracking = false;                // the stylus went down on the button and capture is held
    bool spaceDown = false;               // the space key went down while the button had the focus
    UINT pendingAction = ODA_DRAWENTIRE;  // what the next WM_DRAWITEM reports
};

// The button's kind: its style's BS_TYPEMASK bits.
UINT buttonType(HWND window);
ButtonState& buttonState(HWND window);
// Draws the button (WM_PAINT) by its kind.
void paintButton(HWND window, ButtonState& state);

}  // namespace platform::user
