// The Today screen's custom-item protocol: the item record a home screen hands to an item library,
// the messages it sends to item windows, and the services (text colour, watermark) an item asks of it.
#pragma once

#include "platform/wingdi.h"
#include "platform/winuser.h"

#define MAX_ITEMNAME 32

// Kinds of Today items; libraries loaded by the home screen are tlitCustom.
typedef enum _TODAYLISTITEMTYPE {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,
    tlitNil
} TODAYLISTITEMTYPE;

// One item of the Today list, owned by the home screen. The item reads it at initialisation and, in
// the refresh query, may set cyp, its height in pixels.
typedef struct _TODAYLISTITEM {
    WCHAR szName[MAX_ITEMNAME];  // the registry key name of the item
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;              // place in the list ("Order")
    DWORD cyp;                  // height in pixels; 0 until the item reports one
    BOOL fEnabled;              // "Enabled"
    BOOL fOptions;              // "Options": the item has an options dialog (ordinal 241)
    DWORD grfFlags;             // "Selectability": 0 none, 1 the home screen selects, 2 the item does
    WCHAR szDLLPath[MAX_PATH];  // "DLL", a device path
    HINSTANCE hinstDLL;         // the loaded library
    HWND hwndCustom;            // the item's window, once initialised
    BOOL fSizeOnDraw;
    BYTE* prgbCachedData;
    DWORD cbCachedData;
} TODAYLISTITEM;

// Selectability values.
#define TODAY_SELECTABILITY_NOTSELECTABLE 0
#define TODAY_SELECTABILITY_SELECTABLE 1
#define TODAY_SELECTABILITY_CUSTOMSELECTION 2

// Messages to an item window.
// WM_TODAYCUSTOM_CLEARCACHE: lParam TODAYLISTITEM*; the item is about to be unloaded.
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)
// lParam TODAYLISTITEM*; TRUE when the item changed (its height may have too) and must be redrawn.
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243)
// wParam the key that moved the selection onto the item; TRUE when the item takes the selection.
#define WM_TODAYCUSTOM_RECEIVEDSELECTION (WM_USER + 244)
#define WM_TODAYCUSTOM_LOSTSELECTION (WM_USER + 245)
// wParam the key; TRUE when the item handled it, FALSE when the selection leaves the item.
#define WM_TODAYCUSTOM_USERNAVIGATION (WM_USER + 246)
// wParam the key (VK_RETURN): the user activated the selected item.
#define WM_TODAYCUSTOM_ACTION (WM_USER + 247)

// Messages an item sends to its parent, the home screen.
// wParam a TODAYCOLOR_ code; the result is the COLORREF.
#define TODAYM_GETCOLOR (WM_USER + 100)
// lParam TODAYDRAWWATERMARKINFO*: the home screen draws its background behind the rectangle.
#define TODAYM_DRAWWATERMARK (WM_USER + 101)

#define TODAYCOLOR_TEXT 0x10000004

typedef struct {
    HDC hdc;    // the item's device context
    RECT rc;    // the rectangle to fill, in the item window's client coordinates
    HWND hwnd;  // the item window
} TODAYDRAWWATERMARKINFO;

// Exports of an item library, found with GetProcAddress(module, MAKEINTRESOURCEW(ordinal)).
#define ORDINAL_INITIALIZEITEM 240
#define ORDINAL_OPTIONSDIALOGPROC 241

// Ordinal 240: creates (or returns) the item's window as a child of parent; NULL when the item does
// not want to be shown.
typedef HWND (*PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM* item, HWND parent);

// The machine-hive key under which each item has a subkey.
#define TODAY_ITEMS_KEY u"Software\\Microsoft\\Today\\Items"

// The wParam of WM_SETTINGCHANGE that an installer sends (or broadcasts) after it changed the items
// under TODAY_ITEMS_KEY: the home screen unloads its items and loads them again.
#define TODAY_SETTINGCHANGE_ITEMS 0xF2
