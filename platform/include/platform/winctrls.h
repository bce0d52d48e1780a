// The standard controls' remaining declarations ("Static", "Edit", "Button" and window scroll
// bars): messages, notifications, styles, owner-draw structures and non-client hit codes.
#pragma once

#include "platform/winuser.h"

// The system classes "Static", "Edit" and "Button" exist from the start (names compare without case).
// Choices of this platform where the device leaves room:
// - "Edit" holds one line (ES_MULTILINE is drawn as one line) and keeps no undo history or
//   clipboard (EM_UNDO, WM_CUT/WM_COPY/WM_PASTE do nothing). WM_SETTEXT on it sends EN_UPDATE and
//   EN_CHANGE, as the device does for one-line edits; the limit (EM_LIMITTEXT) binds input and
//   EM_REPLACESEL, never WM_SETTEXT. Refused input beeps (MessageBeep(MB_OK)); a cut-short insertion
//   also sends EN_MAXTEXT. The caret blinks every 500 ms on the platform clock while the edit has the
//   focus, and stays shown after 10 s without input.
// - A click on a "Static" without SS_NOTIFY is taken by the static (it does not pass to its parent).
// - Window scroll bars: a range with nothing to scroll hides the bar (SIF_DISABLENOSCROLL keeps it,
//   disabled); a range that needs one shows it, changing the client area (WM_SIZE).

// Style masks: the low bits of a static's or button's style name its kind.
#define SS_TYPEMASK 0x0000001FL
#define SS_SIMPLE 0x0000000BL
#define SS_OWNERDRAW 0x0000000DL
#define BS_TYPEMASK 0x0000000FL
#define BS_USERBUTTON 0x00000008L

// Static notifications (SS_NOTIFY).
#define STN_ENABLE 2
#define STN_DISABLE 3

// Edit messages and notifications beyond the common ones.
#define EM_LINESCROLL 0x00B6
#define EM_SETHANDLE 0x00BC
#define EM_GETHANDLE 0x00BD
#define EM_LINEINDEX 0x00BB
#define EM_LINELENGTH 0x00C1
#define EM_FMTLINES 0x00C8
#define EM_LINEFROMCHAR 0x00C9
#define EM_SETPASSWORDCHAR 0x00CC
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_GETFIRSTVISIBLELINE 0x00CE
#define EM_GETPASSWORDCHAR 0x00D2
#define EM_SETMARGINS 0x00D3
#define EM_GETMARGINS 0x00D4
#define EM_POSFROMCHAR 0x00D6
#define EM_CHARFROMPOS 0x00D7
#define EC_LEFTMARGIN 0x0001
#define EC_RIGHTMARGIN 0x0002
#define EC_USEFONTINFO 0xFFFF
#define EN_ERRSPACE 0x0500
#define EN_HSCROLL 0x0601
#define EN_VSCROLL 0x0602

// Button notifications and messages beyond the common ones.
#define BN_PUSHED 2
#define BN_HILITE BN_PUSHED
#define BN_UNPUSHED 3
#define BN_UNHILITE BN_UNPUSHED
#define BN_DISABLE 4
#define BN_DOUBLECLICKED BN_DBLCLK

// Owner drawing (WM_DRAWITEM): control types, actions and states.
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    DWORD_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;
typedef DRAWITEMSTRUCT* PDRAWITEMSTRUCT;

// Stylus on a window's scroll bars (its non-client area): the window manager posts these with the
// hit code in wParam and the screen point in lParam; the default window procedure tracks the bar.
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTHSCROLL 6
#define HTVSCROLL 7
#define HTBORDER 18

// EnableScrollBar arrows.
#define ESB_ENABLE_BOTH 0x0000
#define ESB_DISABLE_BOTH 0x0003

// Shows or hides a window's scroll bar (SB_HORZ, SB_VERT, SB_BOTH): the client area shrinks or grows
// (WM_SIZE) and the window is repainted. FALSE for an invalid window or bar.
BOOL ShowScrollBar(HWND window, int bar, BOOL show);
