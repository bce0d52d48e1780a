// Names the Today item shares with the home screen, the registry and the other programs: its window
// class and window, its registration, the program locations, the programs' window classes and
// messages, and its resource ids.
#pragma once

#include "platform/winuser.h"

namespace today {

inline constexpr const WCHAR* kItemClass = u"Brimwell_TodayClass";
inline constexpr const WCHAR* kItemWindowName = u"Brimwell_TodayWin";

// The registration under the home screen's items key (machine hive); the quotes are part of the name.
inline constexpr const WCHAR* kRegistrationKey = u"Software\\Microsoft\\Today\\Items\\\"Brimwell\"";
inline constexpr const WCHAR* kLibraryDevicePath = u"\\windows\\BrimwellTodayItem.dll";
inline constexpr DWORD kItemTypeCustom = 4;
inline constexpr DWORD kSelectabilityOwn = 2;

// Program locations (current-user hive): each key's default value is the program's device path.
inline constexpr const WCHAR* kInstallPathDashel = u"Software\\Varkel\\InstallPathDashel";
inline constexpr const WCHAR* kInstallPathStarter = u"Software\\Varkel\\InstallPathBrimwellStarter";

// Running programs are found by their main windows.
inline constexpr const WCHAR* kDashelClass = u"VarkelDashelMainWndCls";
inline constexpr const WCHAR* kDashelTitle = u"Brimwell Dashel";
inline constexpr const WCHAR* kBrimwellClass = u"WCE_VarkelBrimwell";
// Sent to a running Brimwell: show its Today set-up.
inline constexpr UINT kMsgShowTodaySetup = WM_USER + 118;

// Sent by the details list to its owner: show entry lParam of section kind wParam in Brimwell.
inline constexpr UINT kMsgShowEntry = 2027;

// Command line that starts Brimwell on its Today set-up.
inline constexpr const WCHAR* kTodaySetupCommand = u"/show_today_setup";

// Strings.
inline constexpr UINT kStringScheduled = 6;  // "Запланир."
inline constexpr UINT kStringTotal = 7;      // "Итого"
inline constexpr UINT kStringToday = 8;      // "Сегодня"
inline constexpr UINT kStringDate = 9;       // "Дата"
inline constexpr UINT kStringBudget = 36;    // "Бюджет"
inline constexpr UINT kStringAccount = 37;   // "Счет"
inline constexpr UINT kStringTitle = 38;     // the product's title, over the details
inline constexpr UINT kStringLocked = 42;    // the data password was not given
inline constexpr UINT kStringNoData = 46;    // nothing is selected for the item
inline constexpr UINT kStringAllFine = 47;   // budgets and accounts are fine
inline constexpr UINT kStringAnd = 48;       // "и"
inline constexpr UINT kStringAttentionOne = 49;
inline constexpr UINT kStringAttentionMany = 50;
inline constexpr UINT kStringTapToSetUp = 51;
inline constexpr UINT kStringNothingScheduled = 52;
inline constexpr UINT kStringOverLimit = 53;  // "Счет переполнен"

// Dialogs and menus: the details window, its menu bar and the data password dialog.
inline constexpr UINT kDialogDetails = 225;
inline constexpr UINT kDialogPassword = 226;
inline constexpr UINT kMenuDetails = 161;
inline constexpr int kCommandTodaySetup = 16101;  // "Настройки"
inline constexpr int kCommandClose = 16102;       // "Закрыть"
inline constexpr int kPasswordEdit = 2261;
// The caption of the message that the details are locked.
inline constexpr const WCHAR* kLockedCaption = u"Brimwell";
// The caption of the message that the future list could not be built.
inline constexpr const WCHAR* kFutureListCaption = u"Brimwell";

// Bitmaps: the item icon (16 pixels, 32 at high resolution) and the launch button (32, 64).
inline constexpr UINT kBitmapItemIcon = 129;
inline constexpr UINT kBitmapItemIconHigh = 130;
inline constexpr UINT kBitmapLaunch = 179;
inline constexpr UINT kBitmapLaunchHigh = 182;
// The colour that stands for "transparent" in the item's bitmaps.
inline constexpr COLORREF kBitmapTransparent = RGB(255, 0, 255);

}  // namespace today
