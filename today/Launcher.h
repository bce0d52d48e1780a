// Finding or starting the programs from the Today item: Dashel (brought forward when it runs, else
// started from its install path) and the finance manager Brimwell, through its window or its starter,
// with or without its Today set-up, or showing one account, group, budget or scheduled transaction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/wintypes.h"

namespace today {

// The program path stored as the default value of the install-path key (current-user hive), read
// into a buffer of 520 bytes; nullopt when the key or the value is missing, empty or not a string.
std::optional<std::u16string> installPath(const WCHAR* key);

enum class DashelLaunch {
    BroughtForward,  // the running Dashel's main window was brought to the foreground
    Started,         // a new Dashel process was started
    NotInstalled,    // no install path: nothing happened
    StartFailed,     // the install path names no program that could be started
};

// Finds the top-level window of class "VarkelDashelMainWndCls" titled "Brimwell Dashel" (in any
// process) and brings it forward; otherwise starts the program at "InstallPathDashel" without a
// command line. Never shows anything to the user; the result says what happened.
DashelLaunch startDashel();

// Finds Brimwell's window (class "WCE_VarkelBrimwell", any title): brings it forward with its last
// active pop-up and, when todaySetup, sends it WM_USER+118 with both parameters 0. Otherwise starts
// the starter at "InstallPathBrimwellStarter" with "/show_today_setup" when todaySetup, else without
// a command line. True when the window was found or the starter started; false when the starter's
// location is missing or it cannot be started.
bool startBrimwell(bool todaySetup);

// What Brimwell is asked to show.
enum class ShowKind { Account = 0, AccountGroup = 1, Budget = 2, Scheduled = 3 };

// The starter's command line for the kind and identifier: "/show_account_42" and so on.
std::u16string showCommand(ShowKind kind, int64_t identifier);

// Always starts a new starter process (a running Brimwell is not looked for) with showCommand(kind,
// identifier). False when the starter's location is missing or it cannot be started.
bool showInBrimwell(ShowKind kind, int64_t identifier);

}  // namespace today
