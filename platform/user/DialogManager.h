// Inside the dialog manager: creating a dialog from a template, its per-window state, and the modal
// run that dialog boxes and message boxes share.
#pragma once

#include "DialogTemplate.h"

namespace platform::user {

// What the dialog manager keeps per dialog (in a slot of the dialog's window extra bytes).
struct DialogState {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;  // created from the template (owned), or null for the system font
    SIZE baseUnits{1, 1};
    bool initialized = false;  // WM_INITDIALOG has been handled
    bool ended = false;        // EndDialog was called
    INT_PTR result = 0;
    HWND disabledOwner = nullptr;  // the owner a modal run disabled, to enable again
    HWND lastFocus = nullptr;      // the control that had the focus when the dialog was deactivated
    WORD defaultId = 0;            // DM_SETDEFID, else the first default push button
    bool focusFirst = true;        // WM_INITDIALOG asked for the focus on the first tab stop
};

// The state of a dialog window, or null for another window.
DialogState* dialogState(HWND window);

// Creates the dialog and its controls, sends WM_SETFONT and WM_INITDIALOG(first tab stop, param),
// gives the focus as WM_INITDIALOG's result asks and shows it when the template says WS_VISIBLE (or
// show is set). NULL when a control's class is unknown (ERROR_CLASS_DOES_NOT_EXIST) or the window
// cannot be made; nothing is left behind then.
HWND createDialog(HINSTANCE module, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC proc,
                  LPARAM param, bool show);

// Runs a created dialog modally: its owner (parent's top-level window) is disabled, the dialog shown
// and its loop run until EndDialog; then the owner is enabled again and the dialog destroyed.
// Returns EndDialog's result; 0 when WM_QUIT ended the loop. idle runs whenever the queue is empty.
INT_PTR runModalDialog(HWND dialog, HWND parent, const std::function<void()>& idle = {});

// Compares text with an all-lower-case ASCII name without regard to case.
bool lowerCaseEquals(const std::u16string& text, const std::u16string& lower);

// Gives a control the focus as keyboard navigation does (an edit control's text is selected).
void focusDialogControl(HWND control);

}  // namespace platform::user
