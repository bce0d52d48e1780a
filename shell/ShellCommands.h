// Command ids, private window messages and window classes of the program, named once: the header
// bar, the field panel, the button strips, the settings page and the messages exchanged with the
// finance manager.
#pragma once

#include "platform/winuser.h"

namespace shell {

// Pages of the main window.
inline constexpr UINT kPageEntry = 106;
inline constexpr UINT kPageSettings = 123;

// Header bar item: opens the settings page.
inline constexpr UINT kCmdSettings = 105;

// Field panel: the six fields and the cleared toggle.
inline constexpr UINT kCmdPayee = 109;
inline constexpr UINT kCmdDate = 110;
inline constexpr UINT kCmdAmount = 111;
inline constexpr UINT kCmdAccount = 112;
inline constexpr UINT kCmdCategory = 113;
inline constexpr UINT kCmdProject = 114;
inline constexpr UINT kCmdCleared = 116;

// Button strips.
inline constexpr UINT kCmdSaveAndNew = 118;
inline constexpr UINT kCmdSave = 119;
inline constexpr UINT kCmdExit = 120;
inline constexpr UINT kCmdClose = 121;
inline constexpr UINT kCmdOk = 122;
// The settings page's format name key.
inline constexpr UINT kCmdFormatName = 124;
inline constexpr UINT kCmdCreate = 126;

// Private messages of the main window (WM_USER is 0x0400).
inline constexpr UINT kMsgKeyboardKey = WM_USER + 1;      // on-screen keyboard key index in wParam
inline constexpr UINT kMsgPanelConfirmed = WM_USER + 15;  // a panel confirmed its choice by itself
inline constexpr UINT kMsgDataChanged =
    WM_USER + 105;  // data changed elsewhere (also sent to the finance manager)
inline constexpr UINT kMsgTransactionAdded = WM_USER + 117;  // to the finance manager after a save

// WM_SETTINGCHANGE code of a screen rotation.
inline constexpr WPARAM kSettingScreenRotated = 0x3002;

// Window classes and titles.
inline constexpr const WCHAR* kMainWindowClass = u"VarkelDashelMainWndCls";
inline constexpr const WCHAR* kMainWindowTitle = u"Brimwell Dashel";
inline constexpr const WCHAR* kMessageCaption = u"Brimwell Dashel";
inline constexpr const WCHAR* kFinanceManagerClass = u"WCE_VarkelBrimwell";

// Resources.
inline constexpr UINT kAcceleratorTable = 128;
inline constexpr UINT kStringSettingsTitle = 1;
inline constexpr UINT kStringStoreMissing = 21;
// The save's messages: no account to save to; the transaction was not written.
inline constexpr UINT kStringNoAccount = 26;
inline constexpr UINT kStringSaveFailed = 27;
// The field labels (the lists' titles label their fields) and the strips' buttons.
inline constexpr UINT kStringPayeeLabel = 2;
inline constexpr UINT kStringAccountLabel = 5;
inline constexpr UINT kStringCategoryLabel = 6;
inline constexpr UINT kStringProjectLabel = 7;
inline constexpr UINT kStringDateLabel = 140;
inline constexpr UINT kStringAmountLabel = 141;
inline constexpr UINT kStringOk = 11;
inline constexpr UINT kStringSaveAndNew = 142;
inline constexpr UINT kStringSave = 143;
inline constexpr UINT kStringExit = 144;
inline constexpr UINT kStringClose = 145;
inline constexpr UINT kStringNew = 146;

}  // namespace shell
