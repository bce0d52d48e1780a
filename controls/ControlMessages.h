// Private messages of the controls and what they carry; the shell and the controls built on image
// keys and text labels read them from here.
#pragma once

#include "platform/winuser.h"

// Posted by an image key to its parent; wParam is the key id, lParam 0.
inline constexpr UINT WM_KEY_CLICKED = WM_USER + 8;    // released inside the key
inline constexpr UINT WM_KEY_PRESSED = WM_USER + 9;    // the stylus went down on the key
inline constexpr UINT WM_KEY_RELEASED = WM_USER + 10;  // released, inside or outside

// Posted by a text label to its parent when the stylus goes down on it, in this order; wParam is the
// label id, lParam 0.
inline constexpr UINT WM_LABEL_PRESSED = WM_USER + 13;
inline constexpr UINT WM_LABEL_CLICKED = WM_USER + 12;
