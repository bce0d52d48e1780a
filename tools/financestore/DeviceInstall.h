// Installing the programs onto the device root, as the device's installer would: Dashel, the Today item
// library and the finance manager's starter stand-in under "\windows", their locations in the registry,
// and the item registered with the home screen through its own RegisterTodayItem.
#pragma once

#include <string>

namespace financestore {

// Runs "install" when argv names it, as argv[1] or after a leading "--root DIR": stores the exit
// status in *exitCode and returns true. False (leaving *exitCode) for every other command line.
bool runDeviceInstall(int argc, char** argv, int* exitCode);

// Installs from the build folder (which holds bin/dashel, bin/financestore and
// lib/libBrimwellTodayItem.so) onto the device root:
// - "\windows\dashel" (a copy of the program) and "InstallPathDashel" = "\windows\dashel.exe";
// - "\windows\BrimwellStarter", a script running "financestore starter" that logs its command line
//   to <root>/starter.log, and "InstallPathBrimwellStarter" = "\windows\BrimwellStarter.exe";
// - "\windows\BrimwellTodayItem.dll" (a copy of the library), loaded to call its RegisterTodayItem.
// Files are replaced whole (written beside, then renamed), so a running copy keeps its own. Returns
// 0, or 1 with a message on stderr when a file is missing or a step fails.
int installDevice(const std::string& buildFolder, const std::string& root);

}  // namespace financestore
