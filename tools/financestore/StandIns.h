// Stand-ins for the full finance manager and its starter, which are outside this system: a window of
// the manager's class that logs every message it receives, and a starter that logs its command line.
#pragma once

namespace financestore {

// Runs "manager" or "starter" when argv names one, as argv[1] or after a leading "--root DIR":
// stores the command's exit status in *exitCode and returns true. Returns false (leaving *exitCode)
// for every other command line, which the store commands then handle.
bool runStandIn(int argc, char** argv, int* exitCode);

// The manager stand-in: creates a top-level window of class "WCE_VarkelBrimwell" that other
// processes find through the window directory, and writes one line per message the window receives
// ("message NUMBER wParam W lParam L", flushed at once) to logPath, or to stdout when it is empty.
// Runs until the window gets WM_CLOSE, the thread gets WM_QUIT or the process gets SIGTERM or
// SIGINT. Uses the headless presenter unless VARKEL_DISPLAY names another. Returns 0, or 1 when
// the log, the display or the window cannot be had (with a message on stderr).
int runManager(const char* logPath);

// The starter stand-in: appends one line, "starter" followed by each argument after a blank, to
// logPath (stdout when empty) and returns 0; 1 when the log cannot be written.
int runStarter(const char* logPath, int argc, char** argv);

}  // namespace financestore
