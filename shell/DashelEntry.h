// The program's entry: single instance, the main window and the message loop.
#pragma once

#include "platform/wintypes.h"

namespace shell {

// Runs the program with its module (whose resources are registered), command line (ignored) and
// show state. Returns 1 at once, opening nothing, when another main window of the program exists
// (it is brought to the foreground); 0 when the main window cannot be created (for example when
// the finance store cannot be opened: message 21 is shown); otherwise the quit message's code.
int dashelEntry(HINSTANCE instance, LPWSTR commandLine, int showCommand);

}  // namespace shell
