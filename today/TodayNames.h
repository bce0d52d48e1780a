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

// Command line that starts Brimwell on its Today set-up.
inline constexpr const WCHAR* kTodaySetupCommand = u"/show_today_setup";

// Bitmaps: the item icon (16 pixels, 32 at high resolution) and the launch button (32, 64).
inline constexpr UINT kBitmapItemIcon = 129;
inline constexpr UINT kBitmapItemIconHigh = 130;
inline constexpr UINT kBitmapLaunch = 179;
inline constexpr UINT kBitmapLaunchHigh = 182;
// The colour that stands for "transparent" in the item's bitmaps.
inline constexpr COLORREF kBitmapTransparent = RGB(255, 0, 255);

}  // namespace today
