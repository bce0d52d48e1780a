// Dialogs, pop-up menus and message boxes: what winuser.h does not declare of them, and the test
// hooks that read and answer message boxes and feed modal loops.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/winuser.h"

// The dialog class, as the device names it.
#define WC_DIALOG u"Dialog"
#define DWLP_MSGRESULT DWL_MSGRESULT
#define DWLP_DLGPROC DWL_DLGPROC
#define DWLP_USER DWL_USER

#define DS_NOIDLEMSG 0x100L
#define DS_CONTROL 0x400L

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

#define MSGF_DIALOGBOX 0
#define MSGF_MENU 2

#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

#define MF_END 0x00000080L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
typedef TPMPARAMS* LPTPMPARAMS;

// ---- Dialogs ----------------------------------------------------------------------------------------

// The dialog's control with that id gets the text (WM_SETTEXT). FALSE when there is no such control.
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
// Copies the control's text (WM_GETTEXT); returns the characters copied, 0 without the control.
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferMax);
// Sets the control's text to the decimal form of value (signed when isSigned).
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The control's text read as a decimal number, blanks around it allowed; *translated (when given)
// tells whether it was a number in range. 0 when it was not.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
// BM_SETCHECK / BM_GETCHECK on the dialog's button.
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks button checkId and clears the others with ids first..last.
BOOL CheckRadioButton(HWND dialog, int first, int last, int checkId);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// Dialog units of the dialog's template font to pixels: x * baseX / 4, y * baseY / 8.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// Base units of the system font: average character width in the low word, height in the high word.
LONG GetDialogBaseUnits();
// The next (or previous) visible, enabled WS_TABSTOP control after control, wrapping around; the
// first one when control is NULL.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of control's group (WS_GROUP starts a group).
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// DefDlgProcW (declared in winuser.h) is the dialog class's procedure: it calls the dialog
// procedure and returns DWLP_MSGRESULT for what that handled; otherwise it gives the dialog's
// defaults (WM_CLOSE posts IDCANCEL, DM_GETDEFID / DM_SETDEFID, focus kept across activation).

#define SetDlgItemText SetDlgItemTextW
#define GetDlgItemText GetDlgItemTextW
#define SendDlgItemMessage SendDlgItemMessageW
#define IsDialogMessage IsDialogMessageW

// ---- Menus ------------------------------------------------------------------------------------------

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its pop-ups. FALSE for an unknown menu (ERROR_INVALID_MENU_HANDLE).
BOOL DestroyMenu(HMENU menu);
// Adds an item at the end: MF_STRING text with id (or the sub-menu as id with MF_POPUP), or
// MF_SEPARATOR; MF_CHECKED and MF_GRAYED set its state.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
// Inserts before the item at position (MF_BYPOSITION, -1: at the end) or with that id.
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Checks or clears the item; returns its previous state (MF_CHECKED or MF_UNCHECKED), -1 without it.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// Enables (MF_ENABLED), grays or disables the item; returns its previous state, -1 without it.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
// The state flags of an item (MF_CHECKED, MF_GRAYED, MF_POPUP, MF_SEPARATOR); -1 without it.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// A menu from the module's RT_MENU resource; NULL with the loader's error or ERROR_INVALID_DATA.
HMENU LoadMenuW(HINSTANCE module, LPCWSTR name);
// Shows the pop-up menu at (x, y) (screen pixels) and runs its own loop until an item is tapped
// (chosen) or the stylus goes down outside or Escape is pressed (cancelled). With TPM_RETURNCMD
// returns the chosen id or 0; otherwise posts WM_COMMAND(id) to the owner and returns nonzero when an
// item was chosen. The menu is kept on the screen; grayed items and separators cannot be chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* unused);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Ends the pop-up menu being tracked by this thread as if cancelled.
BOOL EndMenu();

#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define LoadMenu LoadMenuW

#ifndef ERROR_INVALID_MENU_HANDLE
#define ERROR_INVALID_MENU_HANDLE 1401L
#endif

// ---- Test hooks -------------------------------------------------------------------------------------

namespace platform {

// A message box as it was shown.
struct MessageBoxRecord {
    HWND owner;
    std::u16string caption;
    std::u16string text;
    UINT type;
    int result;
};

// The message boxes shown since the last call, oldest first (at most the last 64).
std::vector<MessageBoxRecord> takeMessageBoxes();

// Called each time a modal loop of this thread (dialog box, message box, pop-up menu) finds its queue
// empty and is about to wait, with the modal window. Tests feed input from here (for example a tap
// on a button). One hook at a time; an empty function removes it.
using ModalIdleHook = std::function<void(HWND modalWindow)>;
void setModalIdleHook(ModalIdleHook hook);

}  // namespace platform
