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

// Posted by the on-screen keyboard to its parent; wParam is what the key stands for: a digit 0 to 9,
// kKeypadBackspace, kKeypadClear (backspace held) or kKeypadDecimalPoint; lParam 0.
inline constexpr UINT WM_KEYPAD_KEY = WM_USER + 1;
inline constexpr WPARAM kKeypadBackspace = 10;
inline constexpr WPARAM kKeypadClear = 11;
inline constexpr WPARAM kKeypadDecimalPoint = 12;

// The finger lists' messages.
// Drop list to its owner: the stylus went down or up outside it; close without taking a choice.
inline constexpr UINT WM_DROPLIST_CLOSE = WM_USER + 11;
// A list's own message to its owner, passed on unchanged by the drop list.
inline constexpr UINT WM_LIST_NOTIFY = WM_USER + 14;
// List view to its parent, passed on by the finger list and the drop list: the row was confirmed;
// wParam is its index, lParam the address of its ListItem (valid until the items change).
inline constexpr UINT WM_LIST_CONFIRMED = WM_USER + 15;
// List view to its parent: the rows are drawn wParam pixels (as a signed int) from the top row's
// place; 0 once they rest on a whole row.
inline constexpr UINT WM_LIST_SCROLLED = WM_USER + 16;
// Finger list scroll bar to the finger list: the bar was released, snap the rows to a whole row.
inline constexpr UINT WM_SCROLLBAR_RELEASED = WM_USER + 20;
