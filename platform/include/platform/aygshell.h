// The Pocket PC shell: full-screen state (task bar, input-panel button, start icon), the input panel
// (soft keyboard) and its information, dialog initialisation and menu bars.
#pragma once

#include "platform/wintypes.h"
#include "platform/winuser.h"

// SHFullScreen states.
#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

// Shows or hides the shell's parts of the screen for the window: the task bar at the top, the
// input-panel button bar at the bottom and the start icon. The screen's work area follows, the
// top-level windows are repainted where the bars were. FALSE with ERROR_INVALID_WINDOW_HANDLE for a
// window that does not exist, ERROR_INVALID_PARAMETER when a part is both shown and hidden.
BOOL SHFullScreen(HWND window, DWORD state);

typedef enum tagSIPSTATE { SIP_UP = 0, SIP_DOWN, SIP_FORCEDOWN, SIP_UNCHANGED, SIP_INPUTDIALOG } SIPSTATE;

// Raises (SIP_UP) or lowers (SIP_DOWN, SIP_FORCEDOWN) the input panel for the window; SIP_UNCHANGED
// and SIP_INPUTDIALOG leave it. A change is announced to the top-level windows with
// WM_SETTINGCHANGE(SPI_SETSIPINFO). FALSE with ERROR_INVALID_WINDOW_HANDLE for a missing window.
BOOL SHSipPreference(HWND window, SIPSTATE state);

#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

struct SIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;  // the screen below the task bar and above the input panel when it is up
    RECT rcSipRect;         // where the input panel is (or would be) shown
    DWORD dwImDataSize;
    void* pvImData;
};
typedef SIPINFO* PSIPINFO;

// SPI_GETSIPINFO fills the SIPINFO at data (its cbSize must be sizeof(SIPINFO)): SIPF_ON|SIPF_DOCKED
// while the panel is up, else SIPF_DOCKED. SPI_SETSIPINFO raises or lowers the panel after
// fdwFlags' SIPF_ON (as SHSipPreference does). FALSE with ERROR_INVALID_PARAMETER for another action,
// NULL data or a wrong cbSize.
BOOL SHSipInfo(UINT action, UINT param, PVOID data, UINT winIni);

#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
typedef SHINITDLGINFO* PSHINITDLGINFO;

// Prepares a dialog for the device's screen after the flags (with SHIDIM_FLAGS in dwMask):
// SHIDIF_SIZEDLGFULLSCREEN moves it over the screen's work area (below the task bar, above the
// menu bar; to the screen's bottom with SHIDIF_FULLSCREENNOMENUBAR); SHIDIF_SIZEDLG over the work
// area above the input panel when it is up; SHIDIF_SIPDOWN lowers the input panel; SHIDIF_EMPTYMENU
// gives it an empty menu bar. SHIDIF_DONEBUTTON is accepted; the task bar shows no "ok" button.
// FALSE with ERROR_INVALID_PARAMETER for NULL, ERROR_INVALID_WINDOW_HANDLE for a missing dialog.
BOOL SHInitDialog(PSHINITDLGINFO info);

#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010

struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;  // the menu resource (RT_MENU) whose top-level items the bar shows
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;  // out: the menu bar window
    COLORREF clrBk;
};
typedef SHMENUBARINFO* PSHMENUBARINFO;

// Creates the menu bar of a window: a pop-up window of class "menu_worker", owned by hwndParent, over
// the screen's bottom bar, showing the top-level items of menu nToolBarId of hInstRes side by side
// (with the input-panel button at the right unless SHCMBF_HIDESIPBUTTON). Tapping an item that is
// not a pop-up sends WM_COMMAND(item id) to hwndParent. SHCMBF_EMPTYBAR makes a bar without items;
// SHCMBF_HIDDEN leaves it hidden; SHCMBF_COLORBK paints it in clrBk. The bar is destroyed by
// DestroyWindow. FALSE with ERROR_INVALID_PARAMETER for NULL or a wrong cbSize,
// ERROR_INVALID_WINDOW_HANDLE for a missing parent, ERROR_RESOURCE_NAME_NOT_FOUND (or the resource
// loader's error) when the menu cannot be read, ERROR_INVALID_DATA for a damaged menu resource.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);
