// Messages the "Calculator" window handles besides WM_CHAR and WM_KEYDOWN (WM_USER is 0x0400).
#pragma once

#include "platform/winuser.h"

// A typed character in wParam's low 16 bits, as WM_CHAR: a digit, "." or ",", an operator, "=",
// "%" or backspace (8).
inline constexpr UINT WM_CALCULATOR_CHAR = WM_USER + 1;
// Changes the sign of the display.
inline constexpr UINT WM_CALCULATOR_CHANGE_SIGN = WM_USER + 2;
// Clears the calculator (the new-calculation state).
inline constexpr UINT WM_CALCULATOR_CLEAR = WM_USER + 3;
